# Steps of a release that tools/package.sh takes and its tests repeat on the
# tested builds. Sourced with $root set to the repository and fail() defined.

# The files that a release ships for each architecture.
release_programs="PSTStraysweep.exe straysweep.exe Main_ResPL.dll"

# The libraries that a release's programs may import at load time: known DLLs
# of Windows 10 and 11, which Windows takes from the system folder. Any other
# it looks for in the program's folder first, where a planted copy would run:
# the programs load those from the system folder when they need them.
load_time_libraries="advapi32.dll gdi32.dll kernel32.dll msvcrt.dll shell32.dll shlwapi.dll user32.dll"

# The libraries that a program imports at load time outside that list, one a
# line in lower case: outside_imports PROGRAM
outside_imports() {
    x86_64-w64-mingw32-objdump -p "$1" | sed -n 's/^[[:space:]]*DLL Name: *//p' | tr 'A-Z' 'a-z' |
        grep -vxF "$(echo "$load_time_libraries" | tr ' ' '\n')"
}

# A string of the window program's version resource in a build folder, as the
# build wrote it: version_string BUILD ProductVersion
version_string() {
    sed -n 's/.*VALUE "'"$2"'", "\([^"\\]*\).*/\1/p' "$1/program/window/PSTStraysweep_version.rc"
}

# The users' README with the version filled in and Windows line ends:
# write_readme VERSION FILE
write_readme() {
    sed -e "s/@VERSION@/$1/g" -e 's/$/\r/' "$root/tools/package/README.txt" >"$2"
}

# The first version above the first three fields of a version, the only ones
# that Windows Installer compares; nothing for a version it cannot take (three
# or four numbers, at most 255, 255, 65535 and 65535).
upgrade_below() {
    echo "$1" | awk -F. '
        NF < 3 || NF > 4 { exit 1 }
        { for (i = 1; i <= NF; i++) if ($i !~ /^[0-9]+$/) exit 1 }
        $1 > 255 || $2 > 255 || $3 > 65535 || $4 > 65535 { exit 1 }
        $3 < 65535 { print $1 "." $2 "." $3 + 1; exit }
        $2 < 255 { print $1 "." $2 + 1 ".0"; exit }
        $1 < 255 { print $1 + 1 ".0.0"; exit }
        { exit 1 }'
}

# One architecture's Windows Installer package:
# build_msi x64|x86 VERSION PROGRAMS README MSI
build_msi() {
    msi_below=$(upgrade_below "$2") ||
        fail "$2 is no version that Windows Installer takes: three or four numbers, at most 255, 255, 65535 and 65535."
    # wixl takes source files by paths relative to the current folder only.
    msi_programs=$(cd "$3" && pwd) && msi_readme=$(cd "$(dirname "$4")" && pwd)/$(basename "$4") &&
        msi_out=$(cd "$(dirname "$5")" && pwd)/$(basename "$5") || fail "no folder for $3, $4 or $5."
    msi_parts=$(mktemp -d)
    for msi_file in $release_programs; do
        ln -s "$msi_programs/$msi_file" "$msi_parts/$msi_file"
    done
    ln -s "$msi_readme" "$msi_parts/README.txt"
    ln -s "$root/resources/images/PSTStraysweep.ico" "$msi_parts/PSTStraysweep.ico"
    (cd "$msi_parts" && wixl -a "$1" -D Arch="$1" -D Version="$2" -D UpgradeBelow="$msi_below" -o "$msi_out" \
        "$root/tools/package/PSTStraysweep.wxs") || {
        rm -rf "$msi_parts"
        fail "wixl could not build $5."
    }
    rm -rf "$msi_parts"
}

# Signing with the PKCS#12 file in STRAYSWEEP_SIGN_PFX and its password in
# STRAYSWEEP_SIGN_PASSWORD, time-stamped by STRAYSWEEP_TIMESTAMP_URL when that
# is set. start_signing FOLDER sets $signing to yes or no and keeps what
# signing needs in FOLDER, which finish_signing removes.
start_signing() {
    signing=no
    if [ -z "${STRAYSWEEP_SIGN_PFX:-}" ]; then
        [ -z "${STRAYSWEEP_SIGN_PASSWORD+set}" ] || fail "STRAYSWEEP_SIGN_PASSWORD is set, but STRAYSWEEP_SIGN_PFX is not."
        return 0
    fi
    [ -n "${STRAYSWEEP_SIGN_PASSWORD+set}" ] || fail "STRAYSWEEP_SIGN_PFX is set, but STRAYSWEEP_SIGN_PASSWORD is not."
    [ -f "$STRAYSWEEP_SIGN_PFX" ] && [ -r "$STRAYSWEEP_SIGN_PFX" ] || fail "cannot read $STRAYSWEEP_SIGN_PFX."
    for tool in osslsigncode openssl; do
        command -v "$tool" >/dev/null || fail "$tool is missing: tools/setup.sh installs it."
    done
    sign_folder=$1
    rm -rf "$sign_folder"
    (umask 077 && mkdir -p "$sign_folder")
    # The password reaches the tools in a file: on a command line every user
    # of the machine could read it in the process list.
    (umask 077 && printf '%s\n' "$STRAYSWEEP_SIGN_PASSWORD" >"$sign_folder/password")
    pfx_certificates -clcerts "$sign_folder/signer.pem"
    # Signatures are verified against the system's certificate authorities and
    # the certificates that come with the key, so that an in-house certificate
    # verifies too: what the check proves is that every file carries a sound
    # signature of the certificate given.
    pfx_certificates "" "$sign_folder/trusted.pem"
    [ ! -f /etc/ssl/certs/ca-certificates.crt ] || cat /etc/ssl/certs/ca-certificates.crt >>"$sign_folder/trusted.pem"
    signing=yes
    signed_files=0
}

# The certificates of the PKCS#12 file (-clcerts: the signer's alone) in a PEM
# file: pfx_certificates [-clcerts] FILE. Files exported by older Windows
# versions need OpenSSL's legacy algorithms.
pfx_certificates() {
    for legacy in "" -legacy; do
        if openssl pkcs12 $legacy $1 -in "$STRAYSWEEP_SIGN_PFX" -passin "file:$sign_folder/password" -nokeys \
            -out "$2" 2>"$sign_folder/log"; then
            return 0
        fi
    done
    fail "cannot read the certificates of $STRAYSWEEP_SIGN_PFX (wrong password?): $(head -n 3 "$sign_folder/log")"
}

# Signs a file in place and verifies the signature; stops on any failure.
sign_file() {
    osslsigncode sign -pkcs12 "$STRAYSWEEP_SIGN_PFX" -readpass "$sign_folder/password" -h sha256 \
        -n "Norvale PST Straysweep" ${STRAYSWEEP_TIMESTAMP_URL:+-ts "$STRAYSWEEP_TIMESTAMP_URL"} \
        -in "$1" -out "$1.signed" >"$sign_folder/log" 2>&1 ||
        fail "signing $1 failed: $(tail -n 3 "$sign_folder/log")"
    mv -f "$1.signed" "$1"
    verify_signature "$1" || fail "the signature of $1 does not verify: $(grep -i error "$sign_folder/log" | head -n 3)"
    signed_files=$((signed_files + 1))
}

# Succeeds when the file carries a signature that verifies.
verify_signature() {
    osslsigncode verify -CAfile "$sign_folder/trusted.pem" -TSA-CAfile "$sign_folder/trusted.pem" -in "$1" \
        >"$sign_folder/log" 2>&1
}

# The one line that tells whether the release is signed.
signing_summary() {
    if [ "$signing" = yes ]; then
        subject=$(openssl x509 -noout -subject -nameopt oneline <"$sign_folder/signer.pem" | sed 's/^subject= *//')
        echo "Signed by $subject: $signed_files files, every signature verified."
    else
        echo "Not signed: STRAYSWEEP_SIGN_PFX and STRAYSWEEP_SIGN_PASSWORD are not set."
    fi
}

finish_signing() {
    [ -z "${sign_folder:-}" ] || rm -rf "$sign_folder"
}
