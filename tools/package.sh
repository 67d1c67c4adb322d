#!/bin/sh
# Builds both architectures for release and packs them into dist/, named
# after the product and the version that the executables' version resource
# carries: one zip with
#   x64/ and x86/   PSTStraysweep.exe, straysweep.exe and Main_ResPL.dll, stripped
#   README.txt      for users, with Windows line ends
#   SHA256SUMS      for "sha256sum -c SHA256SUMS" in the unpacked folder
# and beside it the Windows Installer packages <name>-x64.msi and -x86.msi,
# which install the same files, and SHA256SUMS of the three.
# With STRAYSWEEP_SIGN_PFX and STRAYSWEEP_SIGN_PASSWORD set, every program and
# both packages are signed (see tools/package/steps.sh) and each signature is
# verified.
# The release builds live in build/release-<arch>, without tests, so making a
# release needs no Wine and leaves the tested builds alone. The last lines
# printed are the paths of the two packages and, last, the zip's.
set -e
cd "$(dirname "$0")/.."
root=$(pwd)
. "$root/tools/package/steps.sh"

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

# Stripped copies of one architecture's programs, which must import no DLL but
# the system's known ones (no MinGW runtime DLL either: the link is static).
stage_programs() {
    arch=$1
    folder=$2
    mkdir "$stage/$folder"
    for program in $release_programs; do
        "$arch-w64-mingw32-strip" -o "$stage/$folder/$program" "$root/build/release-$arch/bin/$program"
        outside=$(outside_imports "$stage/$folder/$program")
        [ -z "$outside" ] || fail "$folder/$program imports $(echo $outside), which Windows would look for in its folder."
    done
}

for tool in cmake sha256sum wixl x86_64-w64-mingw32-strip x86_64-w64-mingw32-objdump \
    i686-w64-mingw32-strip i686-w64-mingw32-objdump; do
    command -v "$tool" >/dev/null || fail "$tool is missing: tools/setup.sh installs it."
done
# The password file goes with the script, whichever way it ends.
trap finish_signing EXIT
start_signing "$root/build/release-signing"

build_release x86_64
build_release i686

product=$(version_string "$root/build/release-x86_64" ProductName)
version=$(version_string "$root/build/release-x86_64" ProductVersion)
[ -n "$product" ] && [ -n "$version" ] || fail "no product name or version in the version resource."
name="$(echo "$product" | tr ' ' '-')-$version"

stage="$root/build/release-package"
rm -rf "$stage"
mkdir -p "$stage"
stage_programs x86_64 x64
stage_programs i686 x86
if [ "$signing" = yes ]; then
    for program in "$stage"/x64/* "$stage"/x86/*; do
        sign_file "$program"
    done
fi
# Judged as shipped, signature included.
size=$(wc -c < "$stage/x64/PSTStraysweep.exe")
[ "$size" -le "$size_limit" ] ||
    fail "x64/PSTStraysweep.exe is $size bytes, more than the $size_limit allowed."

write_readme "$version" "$stage/README.txt"
(cd "$stage" && sha256sum README.txt x64/* x86/* > SHA256SUMS)

dist="$root/dist"
rm -rf "$dist"
mkdir "$dist"
zip="$dist/$name.zip"
(cd "$stage" && cmake -E tar cf "$zip" --format=zip README.txt SHA256SUMS x64 x86)
for arch in x64 x86; do
    build_msi "$arch" "$version" "$stage/$arch" "$stage/README.txt" "$dist/$name-$arch.msi"
    [ "$signing" = no ] || sign_file "$dist/$name-$arch.msi"
done
(cd "$dist" && sha256sum "$name.zip" "$name-x64.msi" "$name-x86.msi" > SHA256SUMS)

(cd "$stage" && wc -c README.txt SHA256SUMS x64/* x86/*)
(cd "$dist" && wc -c "$name.zip" "$name-x64.msi" "$name-x86.msi")
signing_summary
echo "$dist/$name-x64.msi"
echo "$dist/$name-x86.msi"
echo "$zip"
