#!/bin/sh
# Builds the 64-bit tree and runs the engine benchmark under Wine in the
# build's private prefix; the table is also kept in bench/results/.
set -e
cd "$(dirname "$0")/.."
root=$(pwd)
tools/setup.sh
tools/build.sh x86_64
export STRAYSWEEP_DISPLAY=${STRAYSWEEP_DISPLAY:-:71}
mkdir -p bench/results
tools/wine-run.sh "$root/build/x86_64/wine" "$root/build/x86_64/bench/engine_benchmark.exe" |
    tee "bench/results/$(date +%Y%m%d-%H%M%S).txt"
