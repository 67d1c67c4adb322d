#!/bin/sh
# Installs what is missing, builds, and starts Norvale PST Straysweep under
# Wine in a private prefix.
set -e
cd "$(dirname "$0")"
tools/setup.sh
tools/build.sh x86_64
program=build/x86_64/bin/PSTStraysweep.exe
if [ ! -f "$program" ]; then
    echo "The window program is not built yet; the libraries and tests are in build/x86_64."
    exit 0
fi
exec tools/wine-run.sh "$(pwd)/build/run/wine" "$program"
