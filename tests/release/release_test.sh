#!/usr/bin/env bash
# The release packages of the tested phasebox.exe ($PHASEBOX_EXE), checked as a teacher and
# a school's IT staff would meet them, run by CTest (label release):
#   release_test.sh packages
#     the zip holds exactly LICENSE.txt, README.txt, THIRD-PARTY.txt (zlib's licence) and
#     phasebox.exe, with Windows line ends, and packing twice gives the same bytes (the msi
#     too); the exe imports no zlib DLL and its header has no link time; signing with a throwaway self-signed certificate gives signatures that
#     verify, and a certificate that does not verify leaves no package behind.
#   release_test.sh install
#     the exe's version record, read by Windows (version_probe.exe under Wine), carries
#     project()'s version; in a fresh Wine prefix (build/wine/install, on a virtual display
#     of its own) the previous version's msi installs silently, this version's msi installs
#     over it (one entry in Apps and Features, the new exe), the exe, licence and Start-menu
#     shortcut are in place, the previous msi refuses to install over this one (a launch
#     condition of the major upgrade), the program started from the shortcut's target opens
#     its window and ends with exit code 0, and the silent uninstall leaves none of the
#     files and registry entries the installs added.
# Stops at the first check that fails, naming it. Leaves its packages, exports and
# screenshot in build/release-test/PART/.
set -uo pipefail
# shellcheck source=scripts/lib/common.sh
source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/lib/common.sh"
# shellcheck source=scripts/lib/package.sh
source "$PHASEBOX_ROOT/scripts/lib/package.sh"
trap phasebox_cleanup EXIT

part="${1:-}"
case "$part" in
    packages | install) ;;
    *) phasebox_log "usage: release_test.sh packages|install"; exit 2 ;;
esac
exe="${PHASEBOX_EXE:-$PHASEBOX_ROOT/build/win/phasebox.exe}"
probe="${PHASEBOX_VERSION_PROBE:-$PHASEBOX_ROOT/build/win/tests/release/version_probe.exe}"
out="$PHASEBOX_ROOT/build/release-test/$part"
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

# The unsigned packages of this version in $out/new ($zip, $msi) and the zip unpacked in
# $unpacked.
pack() {
    echo "packages of phasebox $version"
    epoch="$(phasebox_source_date "$PHASEBOX_ROOT")"
    export SOURCE_DATE_EPOCH="$epoch"
    new="$out/new"
    phasebox_package "$exe" "$version" "$new" ||
        phasebox_fail "packaging $version writes the zip, the msi and SHA256SUMS"
    zip="$new/phasebox-$version-win64.zip"
    msi="$new/phasebox-$version-win64.msi"
    { [ -f "$zip" ] && [ -f "$msi" ]; } || phasebox_fail "no packages to check"
    echo "  sizes: zip $(size_of "$zip") bytes, msi $(size_of "$msi") bytes, exe $(size_of "$exe") bytes"
    unpacked="$out/unpacked"
    { mkdir -p "$unpacked" && unzip -q -o "$zip" -d "$unpacked"; } ||
        phasebox_fail "the zip does not unpack"
}

check_packages() {
    sums_match() { (cd "$1" && [ "$(wc -l <SHA256SUMS)" -eq 2 ] && sha256sum --quiet -c SHA256SUMS); }
    sums_match "$new" ||
        phasebox_fail "SHA256SUMS names both and matches them"

    entries="$(unzip -Z1 "$zip" 2>/dev/null | tr '\n' ' ')"
    [ "$entries" = "LICENSE.txt README.txt THIRD-PARTY.txt phasebox.exe " ] ||
        phasebox_fail "the zip holds the licence, the guide, the notices and the exe, in order ($entries)"
    unzip -tqq "$zip" ||
        phasebox_fail "the zip tests whole"
    cmp -s "$unpacked/phasebox.exe" "$exe" ||
        phasebox_fail "the zip's phasebox.exe is the built one"
    crlf_only "$unpacked/README.txt" ||
        phasebox_fail "README.txt has Windows line ends"
    grep -q "^Windows 10 or Windows 11\|^- Windows 10" "$unpacked/README.txt" ||
        phasebox_fail "README.txt states the system requirements"
    crlf_only "$unpacked/LICENSE.txt" ||
        phasebox_fail "LICENSE.txt has Windows line ends"
    mit_licence_of_the_authors() {
        tr -d '\r' <"$1" | cmp -s - "$PHASEBOX_ROOT/LICENSE" &&
            grep -q '^MIT License' "$1" && grep -q 'Copyright (c) the phasebox authors' "$1"
    }
    mit_licence_of_the_authors "$unpacked/LICENSE.txt" ||
        phasebox_fail "LICENSE.txt is the MIT licence of the phasebox authors"
    # The exe links zlib statically: its licence travels with it, and no DLL of it is needed.
    zlib_notice() {
        crlf_only "$1" && tr -d '\r' <"$1" | cmp -s - "$PHASEBOX_ROOT/packaging/THIRD-PARTY.txt" &&
            grep -q 'zlib' "$1" && grep -q 'This notice may not be removed or altered' "$1"
    }
    zlib_notice "$unpacked/THIRD-PARTY.txt" ||
        phasebox_fail "THIRD-PARTY.txt carries zlib's licence, with Windows line ends"
    ! x86_64-w64-mingw32-objdump -p "$exe" | grep -iE 'DLL Name: .*(zlib|libz)' ||
        phasebox_fail "phasebox.exe imports no zlib DLL"
    stamp="$(TZ=UTC date -d "@$epoch" +%Y%m%d.%H%M)"
    # zip stores times to two seconds.
    entry_times="$(TZ=UTC zipinfo -T "$zip" | awk '/^-/ { print substr($(NF - 1), 1, 13) }' | sort -u | tr '\n' ' ')"
    [ "$entry_times" = "$stamp " ] ||
        phasebox_fail "every entry carries the source date, $stamp UTC ($entry_times)"

    again="$out/again"
    phasebox_package "$exe" "$version" "$again" 2>/dev/null
    cmp -s "$zip" "$again/${zip##*/}" ||
        phasebox_fail "packing again gives the same zip"
    cmp -s "$msi" "$again/${msi##*/}" ||
        phasebox_fail "packing again gives the same msi"

    # The PE header's link time (at offset 8 of the COFF header) is zero.
    link_time="$(od -An -tu4 -j $(($(od -An -tu4 -j 60 -N4 "$exe") + 8)) -N4 "$exe" | tr -d ' ')"
    [ "$link_time" = 0 ] ||
        phasebox_fail "the exe's header has no link time ($link_time)"

    properties="$out/Property.idt"
    msiinfo export "$msi" Property >"$properties" 2>/dev/null
    msi_property() { awk -F'\t' -v n="$1" '$1 == n { sub(/\r$/, "", $2); print $2 }' "$properties"; }
    [ "$(msi_property ProductVersion)" = "$version" ] ||
        phasebox_fail "the msi's ProductVersion is $version ($(msi_property ProductVersion))"
    [ "$(msi_property ALLUSERS)" = 1 ] ||
        phasebox_fail "the msi installs per machine (ALLUSERS $(msi_property ALLUSERS))"
    [ "$(msi_property Manufacturer)" = "the phasebox authors" ] ||
        phasebox_fail "the msi's publisher is the phasebox authors"

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
    package_signed "$keys/cert.pem" "$signed" ||
        phasebox_fail "packaging with PHASEBOX_SIGN_CERT and PHASEBOX_SIGN_KEY succeeds"
    mkdir -p "$signed/unpacked"
    unzip -q -o "$signed/phasebox-$version-win64.zip" phasebox.exe -d "$signed/unpacked" 2>/dev/null
    for file in "$signed/unpacked/phasebox.exe" "$signed/phasebox-$version-win64.msi"; do
        verifies "$keys/cert.pem" "$file" ||
            phasebox_fail "the signature of ${file##*/} verifies"
        does_not_verify "$keys/other.pem" "$file" ||
            phasebox_fail "the signature of ${file##*/} does not verify against another certificate"
    done
    does_not_verify "$keys/cert.pem" "$exe" ||
        phasebox_fail "an unsigned exe does not verify"
    refused_naming_the_exe "$out/refused" ||
        phasebox_fail "a signature that does not verify fails the packaging, naming the file"
    empty_or_missing "$out/refused" ||
        phasebox_fail "and leaves no package behind"
}

check_install() {
    echo "installing, upgrading and removing under Wine"
    # The previous version's package carries a different exe: the built one with bytes
    # appended, which Windows loads all the same.
    old="$out/old"
    mkdir -p "$old"
    cp "$exe" "$old/phasebox.exe"
    printf 'phasebox %s, the previous version of the upgrade test\n' "$previous" >>"$old/phasebox.exe"
    phasebox_package "$old/phasebox.exe" "$previous" "$old/pkg" ||
        phasebox_fail "packaging $previous for the upgrade succeeds"
    old_msi="$old/pkg/phasebox-$previous-win64.msi"

    # A display of its own: the installed program's window and Wine's desktop are alone
    # there.
    unset DISPLAY
    phasebox_display || phasebox_fail "no virtual display could be started"
    phasebox_fresh_prefix install || phasebox_fail "the Wine prefix could not be made"
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
    [ "$(record FixedFileVersion)" = "$version.0" ] ||
        phasebox_fail "Windows reads file version $(record FixedFileVersion) from the exe"
    [ "$(record FixedProductVersion)" = "$version.0" ] ||
        phasebox_fail "and product version $(record FixedProductVersion)"
    [ "$(record FileVersion)|$(record ProductVersion)" = "$version.0|$version.0" ] ||
        phasebox_fail "FileVersion and ProductVersion texts are $(record FileVersion), $(record ProductVersion)"
    [ "$(record ProductName)|$(record CompanyName)" = "phasebox|the phasebox authors" ] ||
        phasebox_fail "ProductName \"$(record ProductName)\", CompanyName \"$(record CompanyName)\""
    # Exit code of the probe on a file with no version record.
    probe_refusal() {
        local code=0
        wine_to "$out/probe-refused.log" "$probe" "$(win_path "$PHASEBOX_ROOT/LICENSE")" || code=$?
        echo "$code"
    }
    [ "$(record FileDescription | cut -d' ' -f1)" = phasebox ] ||
        phasebox_fail "FileDescription \"$(record FileDescription)\" names the program"
    grep -qF "the phasebox authors" <<<"$(record LegalCopyright)" ||
        phasebox_fail "LegalCopyright \"$(record LegalCopyright)\""
    refusal="$(probe_refusal)"
    [ "$refusal" = 1 ] ||
        phasebox_fail "the probe refuses a file without a version record (exit code $refusal)"

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
        [ "$code" -eq 0 ] ||
            phasebox_fail "msiexec $2 ${3##*/} /qn: exit code $code"
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
    cmp -s "$installed/phasebox.exe" "$old/phasebox.exe" ||
        phasebox_fail "version $previous installed its exe"
    msiexec_ok install /i "$msi"
    snapshot new
    [ "$(entries_named new)" -eq 1 ] ||
        phasebox_fail "after the upgrade Apps and Features has one phasebox entry ($(entries_named new))"
    [ "$(uninstall_value new DisplayVersion)" = "\"$version\"" ] ||
        phasebox_fail "the entry shows version $version ($(uninstall_value new DisplayVersion))"
    [ "$(uninstall_value new Publisher)" = '"the phasebox authors"' ] ||
        phasebox_fail "the entry shows the publisher ($(uninstall_value new Publisher))"
    # Apps and Features takes the icon from the product's ProductIcon (ARPPRODUCTICON).
    # shellcheck disable=SC1003 # a backslash at the end of a registry key, not an escape
    icon="$(grep -F '[HKEY_LOCAL_MACHINE\Software\Classes\Installer\Products\' "$out/new.values" |
        sed -n 's/.*\t"ProductIcon"="\(.*\)"$/\1/p' | head -n 1)"
    icon="$(printf '%s' "$icon" | sed 's/\\\\/\\/g')"  # the export doubles backslashes
    # shellcheck disable=SC1003 # the backslash itself, for tr
    icon_file="$drive/$(printf '%s' "${icon#[Cc]:\\}" | tr '\\' /)"
    cmp -s "$icon_file" "$PHASEBOX_ROOT/res/phasebox.ico" ||
        phasebox_fail "the entry shows the program's icon (${icon:-none})"
    cmp -s "$installed/phasebox.exe" "$exe" ||
        phasebox_fail "the installed exe is the new one"
    cmp -s "$installed/LICENSE.txt" "$unpacked/LICENSE.txt" ||
        phasebox_fail "LICENSE.txt is installed"
    cmp -s "$installed/README.txt" "$unpacked/README.txt" ||
        phasebox_fail "README.txt is installed"
    cmp -s "$installed/THIRD-PARTY.txt" "$unpacked/THIRD-PARTY.txt" ||
        phasebox_fail "THIRD-PARTY.txt is installed"
    shortcut=""
    for f in "${shortcuts[@]}"; do [ -f "$f" ] && shortcut="$f"; done
    [ -n "$shortcut" ] || phasebox_fail "the Start-menu shortcut is in place (none)"
    cp "$shortcut" "$out/phasebox.lnk"
    # The shortcut's texts, narrow and wide.
    link_texts="$(strings -a "${shortcut:-/dev/null}"; strings -a -el "${shortcut:-/dev/null}")"
    target="$(grep -i -m1 'phasebox\\phasebox\.exe$' <<<"$link_texts")"
    [ "${target,,}" = 'c:\program files\phasebox\phasebox.exe' ] ||
        phasebox_fail "it points at the installed exe (${target:-nothing})"
    grep -qiF "${icon:-no icon}" <<<"$link_texts" ||
        phasebox_fail "it shows the program's icon"

    # The previous version's package refuses to install over this one and changes nothing.
    code=0
    wine_to "$out/msiexec-downgrade.log" msiexec /i "$(win_path "$old_msi")" /qn || code=$?
    [ "$code" -ne 0 ] ||
        phasebox_fail "msiexec /i ${old_msi##*/} /qn over $version is refused (exit code $code)"
    snapshot downgrade
    one_entry_and_the_new_exe() {
        [ "$(entries_named "$1")" -eq 1 ] && cmp -s "$installed/phasebox.exe" "$exe"
    }
    one_entry_and_the_new_exe downgrade ||
        phasebox_fail "and leaves one entry ($(entries_named downgrade)) and the new exe"

    echo "the installed program, started from the shortcut's target"
    wine "${target:-C:\\Program Files\\phasebox\\phasebox.exe}" >"$out/program.log" 2>&1 </dev/null &
    app=$!
    phasebox_track "$app"
    id=$(phasebox_wait_window 60 "$app") || phasebox_fail "the window of the installed program appeared"
    sleep 1.5
    import -window "$id" "$out/installed-window.png"
    code=0
    phasebox_close_window "$id" "$app" || code=$?
    [ "$code" -eq 0 ] ||
        phasebox_fail "exit code $code after Alt+F4"

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
    # shellcheck disable=SC1003 # backslashes of registry keys, not escapes
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
    sed 's/^/    left: /' "$out/left.files" "$out/left.values" | head -n 20
    nothing_left files ||
        phasebox_fail "the installs added $(wc -l <"$out/installed.files") files and folders; none is left ($(wc -l <"$out/left.files"))"
    nothing_left values ||
        phasebox_fail "the installs added $(wc -l <"$out/installed.values") registry keys and values; none is left ($(wc -l <"$out/left.values"))"
    [ ! -e "$installed" ] ||
        phasebox_fail "Program Files\\phasebox is gone"
    none_exists() {
        local f
        for f in "$@"; do [ ! -e "$f" ] || return 1; done
    }
    none_exists "${shortcuts[@]}" ||
        phasebox_fail "the shortcut is gone"
    [ "$(entries_named after)" -eq 0 ] ||
        phasebox_fail "Apps and Features has no phasebox entry"
}

pack
"check_$part"
echo "release $part: every check passed"
