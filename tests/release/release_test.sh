#!/usr/bin/env bash
# The release packages of the built phasebox.exe (build/win), checked as a teacher and a
# school's IT staff would meet them:
# - the exe's version record, read by Windows (version_probe.exe under Wine), carries
#   project()'s version, and its header no link time;
# - the zip holds exactly LICENSE.txt, README.txt, THIRD-PARTY.txt (zlib's licence) and
#   phasebox.exe, with Windows line ends,
#   and packing twice gives the same bytes (the msi too);
# - signing with a throwaway self-signed certificate gives signatures that verify, and a
#   certificate that does not verify leaves no package behind;
# - in a fresh Wine prefix: the previous version's msi installs silently, this version's
#   msi installs over it (one entry in Apps and Features, the new exe), the exe, licence
#   and Start-menu shortcut are in place, the previous msi refuses to install over this
#   one (a launch condition of the major upgrade), the program started from the shortcut's
#   target opens its window and ends with exit code 0, and the silent uninstall leaves none
#   of the files and registry entries the installs added.
# Expects DISPLAY and the build; makes its own prefix, build/wine/install. Leaves its
# packages, exports and screenshot in build/release-test/.
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/lib/common.sh"
source "$PHASEBOX_ROOT/scripts/lib/package.sh"
source "$PHASEBOX_ROOT/scripts/lib/checks.sh"
trap phasebox_cleanup EXIT

exe="$PHASEBOX_ROOT/build/win/phasebox.exe"
probe="$PHASEBOX_ROOT/build/win/tests/release/version_probe.exe"
out="$PHASEBOX_ROOT/build/release-test"
version="$(phasebox_project_version "$PHASEBOX_ROOT")"
# The version installed before this one, for the upgrade.
previous="${version%%.*}.0.0"
[ "$previous" = "$version" ] && previous="0.9.0"
rm -rf "$out"
mkdir -p "$out"

# The Windows name of a file here, through Wine's Z: drive.
win_path() { printf 'Z:%s' "${1//\//\\}"; }

# Runs a Windows program in $WINEPREFIX with its output in file $1 (never a pipe: see
# WINE-NOTES); returns its exit code.
wine_to() {
    local log="$1"
    shift
    wine "$@" >"$log" 2>&1 </dev/null
}

# Every line of file $1 ends with CR LF.
crlf_only() {
    [ -s "$1" ] && ! grep -qv $'\r$' "$1"
}

size_of() { stat -c %s "$1"; }

# ----------------------------------------------------------------------------------------
echo "packages of phasebox $version"
epoch="$(phasebox_source_date "$PHASEBOX_ROOT")"
export SOURCE_DATE_EPOCH="$epoch"
new="$out/new"
check_that "packaging $version writes the zip, the msi and SHA256SUMS" \
    phasebox_package "$exe" "$version" "$new"
zip="$new/phasebox-$version-win64.zip"
msi="$new/phasebox-$version-win64.msi"
if [ ! -f "$zip" ] || [ ! -f "$msi" ]; then
    echo "release: no packages to check"
    exit 1
fi
echo "  sizes: zip $(size_of "$zip") bytes, msi $(size_of "$msi") bytes, exe $(size_of "$exe") bytes"
sums_match() { (cd "$1" && [ "$(wc -l <SHA256SUMS)" -eq 2 ] && sha256sum --quiet -c SHA256SUMS); }
check_that "SHA256SUMS names both and matches them" sums_match "$new"

entries="$(unzip -Z1 "$zip" 2>/dev/null | tr '\n' ' ')"
check_that "the zip holds the licence, the guide, the notices and the exe, in order ($entries)" \
    [ "$entries" = "LICENSE.txt README.txt THIRD-PARTY.txt phasebox.exe " ]
check_that "the zip tests whole" unzip -tqq "$zip"
unpacked="$out/unpacked"
mkdir -p "$unpacked" && unzip -q -o "$zip" -d "$unpacked"
check_that "the zip's phasebox.exe is the built one" cmp -s "$unpacked/phasebox.exe" "$exe"
check_that "README.txt has Windows line ends" crlf_only "$unpacked/README.txt"
check_that "README.txt states the system requirements" grep -q "^Windows 10 or Windows 11\|^- Windows 10" "$unpacked/README.txt"
check_that "LICENSE.txt has Windows line ends" crlf_only "$unpacked/LICENSE.txt"
mit_licence_of_the_authors() {
    tr -d '\r' <"$1" | cmp -s - "$PHASEBOX_ROOT/LICENSE" &&
        grep -q '^MIT License' "$1" && grep -q 'Copyright (c) the phasebox authors' "$1"
}
check_that "LICENSE.txt is the MIT licence of the phasebox authors" \
    mit_licence_of_the_authors "$unpacked/LICENSE.txt"
# The exe links zlib statically: its licence travels with it, and no DLL of it is needed.
zlib_notice() {
    crlf_only "$1" && tr -d '\r' <"$1" | cmp -s - "$PHASEBOX_ROOT/packaging/THIRD-PARTY.txt" &&
        grep -q 'zlib' "$1" && grep -q 'This notice may not be removed or altered' "$1"
}
check_that "THIRD-PARTY.txt carries zlib's licence, with Windows line ends" \
    zlib_notice "$unpacked/THIRD-PARTY.txt"
check_that "phasebox.exe imports no zlib DLL" \
    sh -c "! x86_64-w64-mingw32-objdump -p '$exe' | grep -iE 'DLL Name: .*(zlib|libz)'"
stamp="$(TZ=UTC date -d "@$epoch" +%Y%m%d.%H%M)"
# zip stores times to two seconds.
entry_times="$(TZ=UTC zipinfo -T "$zip" | awk '/^-/ { print substr($(NF - 1), 1, 13) }' | sort -u | tr '\n' ' ')"
check_that "every entry carries the source date, $stamp UTC ($entry_times)" \
    [ "$entry_times" = "$stamp " ]

again="$out/again"
phasebox_package "$exe" "$version" "$again" 2>/dev/null
check_that "packing again gives the same zip" cmp -s "$zip" "$again/${zip##*/}"
check_that "packing again gives the same msi" cmp -s "$msi" "$again/${msi##*/}"

# The PE header's link time (at offset 8 of the COFF header) is zero.
link_time="$(od -An -tu4 -j $(($(od -An -tu4 -j 60 -N4 "$exe") + 8)) -N4 "$exe" | tr -d ' ')"
check_that "the exe's header has no link time ($link_time)" [ "$link_time" = 0 ]

properties="$out/Property.idt"
msiinfo export "$msi" Property >"$properties" 2>/dev/null
msi_property() { awk -F'\t' -v n="$1" '$1 == n { sub(/\r$/, "", $2); print $2 }' "$properties"; }
check_that "the msi's ProductVersion is $version ($(msi_property ProductVersion))" \
    [ "$(msi_property ProductVersion)" = "$version" ]
check_that "the msi installs per machine (ALLUSERS $(msi_property ALLUSERS))" \
    [ "$(msi_property ALLUSERS)" = 1 ]
check_that "the msi's publisher is the phasebox authors" \
    [ "$(msi_property Manufacturer)" = "the phasebox authors" ]

# ----------------------------------------------------------------------------------------
echo "signing with a throwaway certificate"
keys="$out/keys"
mkdir -p "$keys"
openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj "/CN=phasebox test signer" \
    -addext "extendedKeyUsage=codeSigning" \
    -keyout "$keys/key.pem" -out "$keys/cert.pem" >/dev/null 2>&1
openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj "/CN=someone else" \
    -keyout "$keys/other-key.pem" -out "$keys/other.pem" >/dev/null 2>&1
# package_signed CAFILE OUTDIR: packages the exe signed with the throwaway certificate,
# verifying against CAFILE; its messages go to OUTDIR.log. The signing time must lie inside
# the certificate's two days.
package_signed() {
    (
        SOURCE_DATE_EPOCH="$(date +%s)"
        export SOURCE_DATE_EPOCH PHASEBOX_SIGN_CERT="$keys/cert.pem"
        export PHASEBOX_SIGN_KEY="$keys/key.pem" PHASEBOX_SIGN_CAFILE="$1"
        phasebox_package "$exe" "$version" "$2"
    ) 2>"$2.log"
}
verifies() { osslsigncode verify -CAfile "$1" -in "$2" >"$out/verify.log" 2>&1; }
does_not_verify() { ! verifies "$@"; }
refused_naming_the_exe() {
    ! package_signed "$keys/other.pem" "$1" && grep -q "phasebox.exe does not verify" "$1.log"
}
empty_or_missing() { [ -z "$(ls -A "$1" 2>/dev/null)" ]; }

signed="$out/signed"
check_that "packaging with PHASEBOX_SIGN_CERT and PHASEBOX_SIGN_KEY succeeds" \
    package_signed "$keys/cert.pem" "$signed"
mkdir -p "$signed/unpacked"
unzip -q -o "$signed/phasebox-$version-win64.zip" phasebox.exe -d "$signed/unpacked" 2>/dev/null
for file in "$signed/unpacked/phasebox.exe" "$signed/phasebox-$version-win64.msi"; do
    check_that "the signature of ${file##*/} verifies" verifies "$keys/cert.pem" "$file"
    check_that "the signature of ${file##*/} does not verify against another certificate" \
        does_not_verify "$keys/other.pem" "$file"
done
check_that "an unsigned exe does not verify" does_not_verify "$keys/cert.pem" "$exe"
check_that "a signature that does not verify fails the packaging, naming the file" \
    refused_naming_the_exe "$out/refused"
check_that "and leaves no package behind" empty_or_missing "$out/refused"

# ----------------------------------------------------------------------------------------
echo "installing, upgrading and removing under Wine"
# The previous version's package carries a different exe: the built one with bytes
# appended, which Windows loads all the same.
old="$out/old"
mkdir -p "$old"
cp "$exe" "$old/phasebox.exe"
printf 'phasebox %s, the previous version of the upgrade test\n' "$previous" >>"$old/phasebox.exe"
check_that "packaging $previous for the upgrade succeeds" \
    phasebox_package "$old/phasebox.exe" "$previous" "$old/pkg"
old_msi="$old/pkg/phasebox-$previous-win64.msi"

if ! phasebox_fresh_prefix install; then
    echo "release: the Wine prefix could not be made"
    exit 1
fi
export WINEPREFIX="$PHASEBOX_PREFIX"
drive="$WINEPREFIX/drive_c"
installed="$drive/Program Files/phasebox"
# A per-machine install puts the shortcut into the Start menu of all users; Wine's installer
# puts it into the installing user's.
shortcuts=("$drive/ProgramData/Microsoft/Windows/Start Menu/Programs/phasebox.lnk"
           "$drive/users/$(id -un)/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/phasebox.lnk")
uninstall_key='HKEY_LOCAL_MACHINE\Software\Microsoft\Windows\CurrentVersion\Uninstall'

wine_to "$out/probe.log" "$probe" "$(win_path "$exe")"
record() { sed -n "s/^$1=//p" "$out/probe.log" | tr -d '\r'; }
check_that "Windows reads file version $(record FixedFileVersion) from the exe" \
    [ "$(record FixedFileVersion)" = "$version.0" ]
check_that "and product version $(record FixedProductVersion)" \
    [ "$(record FixedProductVersion)" = "$version.0" ]
check_that "FileVersion and ProductVersion texts are $(record FileVersion), $(record ProductVersion)" \
    [ "$(record FileVersion)|$(record ProductVersion)" = "$version.0|$version.0" ]
check_that "ProductName \"$(record ProductName)\", CompanyName \"$(record CompanyName)\"" \
    [ "$(record ProductName)|$(record CompanyName)" = "phasebox|the phasebox authors" ]
# Exit code of the probe on a file with no version record.
probe_refusal() {
    local code=0
    wine_to "$out/probe-refused.log" "$probe" "$(win_path "$PHASEBOX_ROOT/LICENSE")" || code=$?
    echo "$code"
}
check_that "FileDescription \"$(record FileDescription)\" names the program" \
    [ "$(record FileDescription | cut -d' ' -f1)" = phasebox ]
check_that "LegalCopyright \"$(record LegalCopyright)\"" \
    grep -qF "the phasebox authors" <<<"$(record LegalCopyright)"
refusal="$(probe_refusal)"
check_that "the probe refuses a file without a version record (exit code $refusal)" [ "$refusal" = 1 ]

# The prefix's files (path, size) and registry (one line per value, with its key).
snapshot() {
    (cd "$drive" && find . -printf '%p\t%s\n' | LC_ALL=C sort) >"$out/$1.files"
    wine_to "$out/$1.regedit.log" regedit /E "$(win_path "$out/$1.reg")"
    iconv -f UTF-16 -t UTF-8 "$out/$1.reg" 2>/dev/null | tr -d '\r' |
        awk '/^\[/ { key = $0; print key; next }
             /^$/ { next }
             { line = line $0 }
             /\\$/ { sub(/\\$/, "", line); next }
             { print key "\t" line; line = "" }' | LC_ALL=C sort >"$out/$1.values"
}

# Lines of snapshot file $1 that are in snapshot file $2 but not in $3.
added() { LC_ALL=C comm -13 "$out/$3" "$out/$2" >"$out/$1"; }

msiexec_ok() {
    local code=0
    wine_to "$out/msiexec-$1.log" msiexec "$2" "$(win_path "$3")" /qn || code=$?
    check_that "msiexec $2 ${3##*/} /qn: exit code $code" [ "$code" -eq 0 ]
}

# Entries of Apps and Features named phasebox in registry snapshot $1.
entries_named() {
    grep -F "[$uninstall_key\\" "$out/$1.values" | grep -c $'\t"DisplayName"="phasebox"$'
}
uninstall_value() {
    grep -F "$uninstall_key\\" "$out/$1.values" | grep -F $'\t'"\"$2\"=" | sed 's/^[^\t]*\t[^=]*=//' | head -n 1
}

snapshot before
msiexec_ok install-old /i "$old_msi"
snapshot old
check_that "version $previous installed its exe" cmp -s "$installed/phasebox.exe" "$old/phasebox.exe"
msiexec_ok install /i "$msi"
snapshot new
check_that "after the upgrade Apps and Features has one phasebox entry ($(entries_named new))" \
    [ "$(entries_named new)" -eq 1 ]
check_that "the entry shows version $version ($(uninstall_value new DisplayVersion))" \
    [ "$(uninstall_value new DisplayVersion)" = "\"$version\"" ]
check_that "the entry shows the publisher ($(uninstall_value new Publisher))" \
    [ "$(uninstall_value new Publisher)" = '"the phasebox authors"' ]
# Apps and Features takes the icon from the product's ProductIcon (ARPPRODUCTICON).
icon="$(grep -F '[HKEY_LOCAL_MACHINE\Software\Classes\Installer\Products\' "$out/new.values" |
    sed -n 's/.*\t"ProductIcon"="\(.*\)"$/\1/p' | head -n 1)"
icon="$(printf '%s' "$icon" | sed 's/\\\\/\\/g')"  # the export doubles backslashes
icon_file="$drive/$(printf '%s' "${icon#[Cc]:\\}" | tr '\\' /)"
check_that "the entry shows the program's icon (${icon:-none})" \
    cmp -s "$icon_file" "$PHASEBOX_ROOT/res/phasebox.ico"
check_that "the installed exe is the new one" cmp -s "$installed/phasebox.exe" "$exe"
check_that "LICENSE.txt is installed" cmp -s "$installed/LICENSE.txt" "$unpacked/LICENSE.txt"
check_that "README.txt is installed" cmp -s "$installed/README.txt" "$unpacked/README.txt"
check_that "THIRD-PARTY.txt is installed" \
    cmp -s "$installed/THIRD-PARTY.txt" "$unpacked/THIRD-PARTY.txt"
shortcut=""
for f in "${shortcuts[@]}"; do [ -f "$f" ] && shortcut="$f"; done
check_that "the Start-menu shortcut is in place (${shortcut#"$drive/"})" [ -n "$shortcut" ]
[ -n "$shortcut" ] && cp "$shortcut" "$out/phasebox.lnk"
# The shortcut's texts, narrow and wide.
link_texts="$(strings -a "${shortcut:-/dev/null}"; strings -a -el "${shortcut:-/dev/null}")"
target="$(grep -i -m1 'phasebox\\phasebox\.exe$' <<<"$link_texts")"
check_that "it points at the installed exe (${target:-nothing})" \
    [ "${target,,}" = 'c:\program files\phasebox\phasebox.exe' ]
check_that "it shows the program's icon" grep -qiF "${icon:-no icon}" <<<"$link_texts"

# The previous version's package refuses to install over this one and changes nothing.
code=0
wine_to "$out/msiexec-downgrade.log" msiexec /i "$(win_path "$old_msi")" /qn || code=$?
check_that "msiexec /i ${old_msi##*/} /qn over $version is refused (exit code $code)" \
    [ "$code" -ne 0 ]
snapshot downgrade
one_entry_and_the_new_exe() {
    [ "$(entries_named "$1")" -eq 1 ] && cmp -s "$installed/phasebox.exe" "$exe"
}
check_that "and leaves one entry ($(entries_named downgrade)) and the new exe" \
    one_entry_and_the_new_exe downgrade

echo "the installed program, started from the shortcut's target"
wine "${target:-C:\\Program Files\\phasebox\\phasebox.exe}" >"$out/program.log" 2>&1 </dev/null &
app=$!
phasebox_track "$app"
if id=$(phasebox_wait_window 60 "$app"); then
    check ok "the window appeared"
    sleep 1.5
    import -window "$id" "$out/installed-window.png"
    code=0
    phasebox_close_window "$id" "$app" || code=$?
    check_that "exit code $code after Alt+F4" [ "$code" -eq 0 ]
else
    check fail "the window appeared"
fi

msiexec_ok uninstall /x "$msi"
snapshot after
added installed.files old.files before.files
added installed-new.files new.files before.files
added installed.values old.values before.values
added installed-new.values new.values before.values
cat "$out/installed-new.files" >>"$out/installed.files"
cat "$out/installed-new.values" >>"$out/installed.values"
LC_ALL=C sort -u -o "$out/installed.files" "$out/installed.files"
LC_ALL=C sort -u -o "$out/installed.values" "$out/installed.values"
# What Windows Installer makes for itself on first use and keeps, as on every Windows: its
# cache folder and the empty keys it files products under. The System and Hardware hives
# hold device state that Wine writes again whenever a window station starts; this package
# installs no service or driver there. Wine keeps the session's display settings under
# "Temporary System Parameters".
infrastructure='^\./windows/Installer	[0-9]*$
^\[HKEY_LOCAL_MACHINE\\Software\\Classes\\Installer(\\(Features|Products|UpgradeCodes))?\]$
^\[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Installer\\(UpgradeCodes|UserData(\\S-1-5-18(\\(Components|Products))?)?)\]$
^\[HKEY_LOCAL_MACHINE\\(System|Hardware)\\
^\[HKEY_USERS\\[^\\]*\\Software\\Wine\\Temporary System Parameters\\'
for kind in files values; do
    LC_ALL=C comm -12 "$out/installed.$kind" "$out/after.$kind" | grep -vE "$infrastructure" \
        >"$out/left.$kind"
done
nothing_left() { [ -s "$out/installed.$1" ] && [ ! -s "$out/left.$1" ]; }
check_that "the installs added $(wc -l <"$out/installed.files") files and folders; none is left ($(wc -l <"$out/left.files"))" \
    nothing_left files
check_that "the installs added $(wc -l <"$out/installed.values") registry keys and values; none is left ($(wc -l <"$out/left.values"))" \
    nothing_left values
sed 's/^/    left: /' "$out/left.files" "$out/left.values" | head -n 20
check_that "Program Files\\phasebox is gone" [ ! -e "$installed" ]
none_exists() {
    local f
    for f in "$@"; do [ ! -e "$f" ] || return 1; done
}
check_that "the shortcut is gone" none_exists "${shortcuts[@]}"
check_that "Apps and Features has no phasebox entry" [ "$(entries_named after)" -eq 0 ]

echo "release: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
