#!/bin/sh
# Runs a Windows program under Wine in a private prefix:
#   wine-run.sh PREFIX PROGRAM [ARGUMENTS...]
# Creates the prefix on first use, keeps one persistent Wine server with its
# services started apart from the caller's output (otherwise every caller's
# output pipe stays open until they exit), and gives windows a private Xvfb
# display (STRAYSWEEP_DISPLAY, default :71) with one Wine desktop on it.
set -e
prefix=$1
shift

export WINEPREFIX="$prefix"
export WINEDEBUG=-all
# No Mono or Gecko prompts, and no menu entries on the host for the shortcuts
# that installed packages make.
# Wine takes its library overrides from the environment it starts with, never
# from one that a Windows process changes: tests that need more name them in
# STRAYSWEEP_DLLOVERRIDES.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d${STRAYSWEEP_DLLOVERRIDES:+;$STRAYSWEEP_DLLOVERRIDES}"
display=${STRAYSWEEP_DISPLAY:-:71}
export DISPLAY="$display"

desktop_running() {
    for pid in $(pgrep -f 'explorer.exe /desktop=Default' 2>/dev/null); do
        tr '\0' '\n' <"/proc/$pid/environ" 2>/dev/null | grep -qx "WINEPREFIX=$prefix" && return 0
    done
    return 1
}

mkdir -p "$(dirname "$prefix")"
(
    flock 9
    socket=/tmp/.X11-unix/X${display#:}
    lock=/tmp/.X${display#:}-lock
    local_display=false
    [ "${display#:}" = "$display" ] || local_display=true
    # A server that was killed leaves its socket and lock behind: the display
    # would look taken while every window fails.
    if $local_display && [ -f "$lock" ] && ! kill -0 "$(tr -d ' ' <"$lock")" 2>/dev/null; then
        rm -f "$socket" "$lock"
    fi
    if $local_display && [ ! -S "$socket" ]; then
        setsid Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 </dev/null 9>&- &
        for _ in $(seq 50); do [ -S "$socket" ] && break; sleep 0.1; done
    fi
    if [ ! -f "$prefix/system.reg" ]; then
        wineboot -i >/dev/null 2>&1 </dev/null 9>&-
        # One virtual desktop for all windows: title bars without a window
        # manager, and no waits on X for windows that close right after they
        # open.
        wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1 </dev/null 9>&-
        wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1024x768 /f >/dev/null 2>&1 </dev/null 9>&-
        wineserver -w 9>&-
    fi
    if wineserver -p >/dev/null 2>&1 </dev/null 9>&-; then
        wine cmd /c exit >/dev/null 2>&1 </dev/null 9>&-
    fi
    # The desktop would otherwise be started by the first program that opens
    # a window, holding that program's output open for seconds; it is started
    # again should it have ended.
    if ! desktop_running; then
        setsid wine explorer /desktop=Default,1024x768 >/dev/null 2>&1 </dev/null 9>&- &
        for _ in $(seq 50); do desktop_running && break; sleep 0.1; done
    fi
) 9>"$prefix.lock"

exec wine "$@"
