#!/bin/sh
# Builds both architectures for release and packs them into one zip in dist/,
# named after the product and the version that the executables' version
# resource carries:
#   x64/ and x86/   PSTStraysweep.exe, straysweep.exe and Main_ResPL.dll, stripped
#   README.txt      for users, with Windows line ends
#   SHA256SUMS      for "sha256sum -c SHA256SUMS" in the unpacked folder
# The release builds live in build/release-<arch>, without tests, so making a
# release needs no Wine and leaves the tested builds alone. The last line
# printed is the zip's path.
set -e
cd "$(dirname "$0")/.."
root=$(pwd)

programs="PSTStraysweep.exe straysweep.exe Main_ResPL.dll"
# The window program stays within 1 MiB: a release that grows past it stops
# here instead of shipping.
size_limit=1048576

fail() {
    echo "package.sh: $*" >&2
    exit 1
}

build_release() {
    cmake -S "$root" -B "$root/build/release-$1" -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-$1-w64-mingw32.cmake" \
        -DSTRAYSWEEP_BUILD_TESTS=OFF >/dev/null
    cmake --build "$root/build/release-$1" -j "$(nproc)"
}

# A string of the window program's version resource, as the build wrote it.
version_string() {
    sed -n 's/.*VALUE "'"$1"'", "\([^"\\]*\).*/\1/p' \
        "$root/build/release-x86_64/program/window/PSTStraysweep_version.rc"
}

# Stripped copies of one architecture's programs, which must need no DLL but
# the system's.
stage_programs() {
    arch=$1
    folder=$2
    mkdir "$stage/$folder"
    for program in $programs; do
        "$arch-w64-mingw32-strip" -o "$stage/$folder/$program" "$root/build/release-$arch/bin/$program"
        if "$arch-w64-mingw32-objdump" -p "$stage/$folder/$program" |
            grep -iE 'DLL Name: *(libstdc\+\+|libgcc|libwinpthread)'; then
            fail "$folder/$program needs a MinGW runtime DLL: the link is not static."
        fi
    done
}

for tool in cmake sha256sum x86_64-w64-mingw32-strip x86_64-w64-mingw32-objdump \
    i686-w64-mingw32-strip i686-w64-mingw32-objdump; do
    command -v "$tool" >/dev/null || fail "$tool is missing: tools/setup.sh installs it."
done

build_release x86_64
build_release i686

product=$(version_string ProductName)
version=$(version_string ProductVersion)
[ -n "$product" ] && [ -n "$version" ] || fail "no product name or version in the version resource."
name="$(echo "$product" | tr ' ' '-')-$version"

stage="$root/build/release-package"
rm -rf "$stage"
mkdir -p "$stage"
stage_programs x86_64 x64
stage_programs i686 x86
size=$(wc -c < "$stage/x64/PSTStraysweep.exe")
[ "$size" -le "$size_limit" ] ||
    fail "x64/PSTStraysweep.exe is $size bytes, more than the $size_limit allowed."

sed -e "s/@VERSION@/$version/" -e 's/$/\r/' "$root/tools/package/README.txt" > "$stage/README.txt"
(cd "$stage" && sha256sum README.txt x64/* x86/* > SHA256SUMS)

zip="$root/dist/$name.zip"
rm -rf "$root/dist"
mkdir "$root/dist"
(cd "$stage" && cmake -E tar cf "$zip" --format=zip README.txt SHA256SUMS x64 x86)
(cd "$stage" && wc -c README.txt SHA256SUMS x64/* x86/*)
echo "$zip"
