#!/bin/sh
# Installs what is missing, builds both architectures and runs every test
# under Wine (64-bit build) on a private virtual display.
set -e
cd "$(dirname "$0")"
root=$(pwd)
tools/setup.sh

export STRAYSWEEP_DISPLAY=${STRAYSWEEP_DISPLAY:-:71}
cleanup() {
    WINEPREFIX="$root/build/x86_64/wine" wineserver -k 2>/dev/null || true
    pkill -f "^Xvfb $STRAYSWEEP_DISPLAY " 2>/dev/null || true
}
trap cleanup EXIT

tools/build.sh x86_64
tools/build.sh i686
ctest --test-dir build/x86_64 -j "$(nproc)" --output-on-failure
