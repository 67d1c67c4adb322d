#!/bin/sh
# Tests of the release's Windows Installer packages and of its signing, made
# from the tested programs by the release's own steps:
#   tests/tools/test_package.sh BUILD [BUILD32]
# BUILD is the 64-bit build folder (programs in bin/, Wine prefix in wine/).
# The x86 package holds BUILD32's programs when that folder is built,
# otherwise BUILD's: its test is about where it installs. Packages go into a
# scratch copy of the build's prefix, so that a failed run leaves nothing
# behind. The last line is "packages: N passed, M failed".
root=$(cd "$(dirname "$0")/../.." && pwd)
build=$(cd "$1" && pwd) || exit 1
programs32="$build/bin"
[ ! -f "$2/bin/straysweep.exe" ] || programs32=$(cd "$2/bin" && pwd)
fail() {
    echo "test_package.sh: $*" >&2
    exit 1
}
. "$root/tools/package/steps.sh"
for tool in wixl osslsigncode openssl wine; do
    command -v "$tool" >/dev/null || fail "$tool is missing: tools/setup.sh installs it."
done
version=$(version_string "$build" ProductVersion)
[ -n "$version" ] || fail "no version in the version resource of $build."

scratch="$build/package-test"
prefix="$scratch/wine"
trap 'WINEPREFIX="$prefix" wineserver -k 2>/dev/null; rm -rf "$scratch"' EXIT
rm -rf "$scratch"
mkdir -p "$scratch/packages" "$scratch/signed"
cp -a "$build/wine" "$prefix" || fail "cannot copy the prefix $build/wine."

wine_run() { "$root/tools/wine-run.sh" "$prefix" "$@"; }
# msiexec's exit code; Wine hands the shell a Windows one modulo 256.
msiexec_code() { wine_run msiexec "$@" >/dev/null 2>&1 </dev/null; echo $?; }
windows_path() { echo "Z:$1" | tr / '\\'; }
# The product's Add/Remove Programs entries in both registry views, a line
# "publisher version" each.
entries() {
    for view in 64 32; do
        wine_run reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall' /s /reg:$view 2>/dev/null
    done | tr -d '\r' | awk -F '    ' '/^HKEY_/ { if (n) print p, v; n = 0 }
        $2 == "DisplayName" { n = ($4 == "Norvale PST Straysweep") } $2 == "Publisher" { p = $4 }
        $2 == "DisplayVersion" { v = $4 } END { if (n) print p, v }'
}
shortcuts() { find "$prefix/drive_c/users" "$prefix/drive_c/ProgramData" -name 'Norvale PST Straysweep.lnk' | wc -l; }
raised() { echo "$1" | awk -F. -v field="$2" 'BEGIN { OFS = "." } { $field += 1; print }'; }
# Builds a package and prints its Windows path: package ARCH VERSION PROGRAMS NAME
package() {
    build_msi "$1" "$2" "$3" "$scratch/README.txt" "$scratch/packages/$4" && windows_path "$scratch/packages/$4"
}
# Flips one byte of a file: change FILE OFFSET
change() {
    byte=$(od -An -tu1 -j "$2" -N1 "$1" | tr -d ' ')
    printf "$(printf '\\%03o' $(((byte + 1) % 256)))" | dd of="$1" bs=1 seek="$2" conv=notrunc 2>/dev/null
}
quiet() { "$@" >/dev/null 2>&1 </dev/null; }
fails() { ! quiet "$@"; }
passed=0
failed=0
# check WHAT COMMAND...: counts the check as passed when the command succeeds.
check() {
    what=$1
    shift
    if "$@"; then passed=$((passed + 1)); else failed=$((failed + 1)) && echo "FAILED  $what"; fi
}

installed="$prefix/drive_c/Program Files/Norvale/PST Straysweep"
data=$(wine_run winepath -u "$(wine_run cmd /c echo %APPDATA% | tr -d '\r')" | tr -d '\r')"/Norvale PST Straysweep"
fourth=$(raised "$version" 4)
third=$(raised "$version" 3)
write_readme "$version" "$scratch/README.txt"
base_msi=$(package x64 "$version" "$build/bin" base.msi) &&
    fourth_msi=$(package x64 "$fourth" "$build/bin" fourth.msi) &&
    third_msi=$(package x64 "$third" "$build/bin" third.msi) &&
    x86_msi=$(package x86 "$version" "$programs32" x86.msi) || exit 1

for file in $release_programs; do
    check "$file imports only known system libraries" [ -z "$(outside_imports "$build/bin/$file")" ]
    check "the x86 $file imports only known system libraries" [ -z "$(outside_imports "$programs32/$file")" ]
done
check "an import outside them is named" \
    [ "$(load_time_libraries=kernel32.dll && outside_imports "$build/bin/straysweep.exe" | head -n 1)" = advapi32.dll ]

check "the x64 package installs silently" [ "$(msiexec_code /i "$base_msi" /qn)" = 0 ]
for file in PSTStraysweep.exe straysweep.exe Main_ResPL.dll; do
    check "$file is installed as built" cmp -s "$build/bin/$file" "$installed/$file"
done
check "README.txt is installed" cmp -s "$scratch/README.txt" "$installed/README.txt"
check "the installed straysweep.exe --help runs" \
    quiet wine_run 'C:\Program Files\Norvale\PST Straysweep\straysweep.exe' --help
check "one entry of publisher Norvale and version $version" [ "$(entries)" = "Norvale $version" ]
check "one Start-menu shortcut" [ "$(shortcuts)" = 1 ]
icon=$(wine_run reg query 'HKLM\Software\Classes\Installer\Products' /s | tr -d '\r' | sed -n 's/^ *ProductIcon *REG_SZ *//p')
check "the entry's icon is the program's" \
    cmp -s "$root/resources/images/PSTStraysweep.ico" "$(wine_run winepath -u "$icon" | tr -d '\r')"

check "a version raised in the fourth field installs over it" [ "$(msiexec_code /i "$fourth_msi" /qn)" = 0 ]
check "one entry remains, of version $fourth" [ "$(entries)" = "Norvale $fourth" ]
check "a version raised in the third field installs over it" [ "$(msiexec_code /i "$third_msi" /qn)" = 0 ]
check "one entry remains, of version $third" [ "$(entries)" = "Norvale $third" ]
check "one Start-menu shortcut remains" [ "$(shortcuts)" = 1 ]
# The refusal's message shows in a box with msiexec's basic interface; Wine
# does not write it to the log of a silent run, as Windows does.
check "an older version is refused with 1603" [ "$(msiexec_code /i "$base_msi" /qn)" = $((1603 % 256)) ]
check "the refused version changes no entry" [ "$(entries)" = "Norvale $third" ]

mkdir -p "$data/Registry Backup"
echo kept >"$data/Log.txt"
echo kept >"$data/Registry Backup/2026-12-08 14.05.09 - Outlook.reg"
check "uninstalling succeeds" [ "$(msiexec_code /x "$third_msi" /qn)" = 0 ]
check "no entry is left" [ -z "$(entries)" ]
check "no file or folder is left" [ ! -e "$prefix/drive_c/Program Files/Norvale" ]
check "no shortcut is left" [ "$(shortcuts)" = 0 ]
check "the data folder is kept" [ "$(cat "$data/Log.txt" "$data/Registry Backup/"*.reg)" = "kept
kept" ]

check "the x86 package installs silently" [ "$(msiexec_code /i "$x86_msi" /qn)" = 0 ]
check "it installs into Program Files (x86)" \
    cmp -s "$programs32/straysweep.exe" "$prefix/drive_c/Program Files (x86)/Norvale/PST Straysweep/straysweep.exe"
check "and nothing into Program Files" [ ! -e "$installed" ]
check "the x86 package uninstalls" [ "$(msiexec_code /x "$x86_msi" /qn)" = 0 ]
check "and leaves no folder" [ ! -e "$prefix/drive_c/Program Files (x86)/Norvale" ]
check "and no entry" [ -z "$(entries)" ]

keys="$scratch/keys"
mkdir -p "$keys"
openssl req -x509 -newkey rsa:2048 -nodes -keyout "$keys/key.pem" -out "$keys/certificate.pem" -days 2 \
    -subj "/CN=Norvale Test Signing" 2>/dev/null &&
    openssl pkcs12 -export -out "$keys/signing.pfx" -inkey "$keys/key.pem" -in "$keys/certificate.pem" \
        -passout pass:throwaway || fail "no throwaway certificate."
cp "$build/bin/straysweep.exe" "$build/bin/Main_ResPL.dll" "$scratch/packages/base.msi" "$scratch/signed/"
signed=$(STRAYSWEEP_SIGN_PFX="$keys/signing.pfx" STRAYSWEEP_SIGN_PASSWORD=throwaway STRAYSWEEP_TIMESTAMP_URL= &&
    start_signing "$scratch/signing" && for file in "$scratch/signed"/*; do sign_file "$file"; done && signing_summary)
check "signing signs and verifies every file" \
    [ "$signed" = "Signed by CN = Norvale Test Signing: 3 files, every signature verified." ]
check "a signed program runs" quiet wine_run "$(windows_path "$scratch/signed/straysweep.exe")" --help
change "$scratch/signed/straysweep.exe" $(($(wc -c <"$scratch/signed/straysweep.exe") / 2))
change "$scratch/signed/Main_ResPL.dll" 1024
change "$scratch/signed/base.msi" "$(grep -obaF 'Norvale PST Straysweep' "$scratch/signed/base.msi" | head -n 1 | cut -d: -f1)"
sign_folder="$scratch/signing"
for file in straysweep.exe Main_ResPL.dll base.msi; do
    check "a changed $file no longer verifies" fails verify_signature "$scratch/signed/$file"
done

echo "packages: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
