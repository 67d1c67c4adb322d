#!/bin/sh
# Builds the 64-bit tree and runs the engine and start-up benchmarks under
# Wine in the build's private prefix; the tables are also kept in
# bench/results/.
set -e
cd "$(dirname "$0")/.."
root=$(pwd)
tools/setup.sh
tools/build.sh x86_64
export STRAYSWEEP_DISPLAY=${STRAYSWEEP_DISPLAY:-:71}
mkdir -p bench/results
results="bench/results/$(date +%Y%m%d-%H%M%S).txt"
for benchmark in engine_benchmark startup_benchmark; do
    tools/wine-run.sh "$root/build/x86_64/wine" "$root/build/x86_64/bench/$benchmark.exe"
    echo
done | tee "$results"
