#!/bin/sh
# Installs what is missing, builds, and starts Norvale PST Straysweep under
# Wine in a private prefix (build/run/wine) holding demo Outlook profiles: the
# default profile "Outlook" has a ghost "Archive 2019" store. The demo profiles
# are put back at every start, so the ghost is there to remove again.
# With DISPLAY set the window opens there; without it the program runs on a
# virtual display and a screenshot of its window is saved.
#   ./run.sh      the program in English
#   ./run.sh pl   the program with its Polish language module beside it
set -e
cd "$(dirname "$0")"
root=$(pwd)
tools/setup.sh
tools/build.sh x86_64

prefix="$root/build/run/wine"
# The build puts the language module beside the program: the program runs from
# a folder of its own, with the module only when Polish is asked for.
folder="$root/build/run/program"
rm -rf "$folder"
mkdir -p "$folder"
cp build/x86_64/bin/PSTStraysweep.exe "$folder/"
if [ "$1" = "pl" ]; then
    cp build/x86_64/bin/Main_ResPL.dll "$folder/"
    # Polish texts need the Windows-1250 code page, which follows the locale.
    export LANG=pl_PL.UTF-8
fi
program="$folder/PSTStraysweep.exe"
demo="Z:$(echo "$root/tools/demo/DemoProfiles.reg" | tr / '\\')"

if [ -n "$DISPLAY" ]; then
    export STRAYSWEEP_DISPLAY="$DISPLAY"
    tools/wine-run.sh "$prefix" regedit /s "$demo"
    exec tools/wine-run.sh "$prefix" "$program"
fi

export STRAYSWEEP_DISPLAY=:79
stop() {
    WINEPREFIX="$prefix" wineserver -k 2>/dev/null || true
    pkill -f "^Xvfb $STRAYSWEEP_DISPLAY " 2>/dev/null || true
}
trap stop EXIT
tools/wine-run.sh "$prefix" regedit /s "$demo"
log=$(ls -d "$prefix"/drive_c/users/*/AppData/Roaming 2>/dev/null | head -n 1)"/Norvale PST Straysweep/Log.txt"
starts() {
    count=$(grep -c "Program started" "$log" 2>/dev/null || true)
    echo "${count:-0}"
}
before=$(starts)
tools/wine-run.sh "$prefix" "$program" >/dev/null 2>&1 &
for _ in $(seq 60); do
    [ "$(starts)" -gt "$before" ] && break
    sleep 0.5
done
sleep 2
screenshot="$root/build/run/screenshot.png"
import -display "$STRAYSWEEP_DISPLAY" -window root "$screenshot"
echo "No DISPLAY: the program ran on a virtual display; its window is in $screenshot"
