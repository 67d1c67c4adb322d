#!/bin/sh
# Configures and builds one architecture: build.sh x86_64|i686 [cmake options...]
set -e
arch=$1
shift
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build/$arch"
if [ ! -f "$build/CMakeCache.txt" ] || [ $# -gt 0 ]; then
    cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-$arch-w64-mingw32.cmake" "$@" >/dev/null
fi
cmake --build "$build" -j "$(nproc)"
