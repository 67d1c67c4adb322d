#!/bin/sh
# Installs what building, running and testing need, when it is missing.
set -e
cd "$(dirname "$0")/.."
packages="cmake make g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix binutils-mingw-w64
  wine wine64 xvfb imagemagick googletest locales x11-utils util-linux procps
  wixl osslsigncode openssl"
# 32-bit Windows programs need Wine's 32-bit half, from the i386 architecture.
if tools/runs-32bit.sh; then
    dpkg --print-foreign-architectures | grep -qx i386 || dpkg --add-architecture i386
    packages="$packages wine32:i386"
fi

missing=""
for package in $packages; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
        missing="$missing $package"
    fi
done
if [ -n "$missing" ]; then
    echo "Installing:$missing"
    # A mirror caught mid-sync fails one index; the others still serve the
    # install, which fails by itself if a package cannot be had.
    apt-get update -qq || echo "apt-get update reported a failure; installing from the lists it has" >&2
    if ! DEBIAN_FRONTEND=noninteractive apt-get install -y -qq $missing >/dev/null; then
        # The i386 lists can lag behind the amd64 ones (a security update
        # mirrored for one architecture only), and wine32 then cannot be
        # installed beside wine64: the 64-bit half is installed alone and
        # test.sh runs the 64-bit tests only.
        case "$missing" in *:i386*) ;; *) exit 1 ;; esac
        rest=$(echo "$missing" | tr ' ' '\n' | grep -v ':i386$' | tr '\n' ' ')
        echo "The 32-bit packages cannot be installed now; installing the rest:$rest" >&2
        DEBIAN_FRONTEND=noninteractive apt-get install -y -qq $rest >/dev/null
    fi
fi

# The Polish code page tests run Wine with a Polish locale.
if ! locale -a 2>/dev/null | grep -qi '^pl_PL\.utf-\?8$'; then
    sed -i 's/^# *\(pl_PL.UTF-8 UTF-8\)/\1/' /etc/locale.gen
    grep -q '^pl_PL.UTF-8 UTF-8' /etc/locale.gen || echo 'pl_PL.UTF-8 UTF-8' >> /etc/locale.gen
    locale-gen >/dev/null
fi
