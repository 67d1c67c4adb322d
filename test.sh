#!/bin/sh
# Installs what is missing, builds both architectures and runs every test of
# each under Wine, then the tests of the release packages, on a virtual
# display of its own. Fails if any fails.
set -e
cd "$(dirname "$0")"
root=$(pwd)
tools/setup.sh

xvfb=""
cleanup() {
    for arch in x86_64 i686; do
        WINEPREFIX="$root/build/$arch/wine" wineserver -k 2>/dev/null || true
    done
    [ -z "$xvfb" ] || kill "$xvfb" 2>/dev/null || true
}
trap cleanup EXIT
# A Wine server left by an earlier run keeps its desktop on that run's
# display: windows opened on the new one would fail.
cleanup
# A display no other program uses: one that ends under the tests' feet takes
# every window with it.
if [ -z "$STRAYSWEEP_DISPLAY" ]; then
    number=$(mktemp)
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$number" >/dev/null 2>&1 </dev/null &
    xvfb=$!
    for _ in $(seq 100); do [ -s "$number" ] && break; sleep 0.1; done
    STRAYSWEEP_DISPLAY=:$(tr -d '\n' <"$number")
    rm -f "$number"
    [ "$STRAYSWEEP_DISPLAY" != ":" ] || { echo "Xvfb did not start" >&2; exit 1; }
fi
export STRAYSWEEP_DISPLAY

if ! tools/runs-32bit.sh; then
    i686_tests=OFF
    echo "This kernel does not run 32-bit programs: the 32-bit build is compiled but its tests cannot run here." >&2
elif ! dpkg-query -W -f='${Status}' wine32:i386 2>/dev/null | grep -q "install ok installed"; then
    i686_tests=OFF
    echo "Wine's 32-bit half could not be installed: the 32-bit build is compiled but its tests cannot run here." >&2
else
    i686_tests=ON
fi
tools/build.sh x86_64
tools/build.sh i686 -DSTRAYSWEEP_BUILD_TESTS=$i686_tests

status=0
# A Wine process now and then dies before its first line (no output at all);
# such a test is run once more. A real failure fails both times.
ctest --test-dir build/x86_64 -j "$(nproc)" --output-on-failure --repeat until-pass:2 || status=1
if [ "$i686_tests" = ON ]; then
    ctest --test-dir build/i686 -j "$(nproc)" --output-on-failure --repeat until-pass:2 || status=1
fi
# The release's packages, made of the tested programs, installed under Wine.
tests/tools/test_package.sh build/x86_64 build/i686 || status=1
exit $status
