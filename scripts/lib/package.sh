# shellcheck shell=bash
# Packaging of a built phasebox.exe, shared by scripts/release and the release tests: the
# portable zip, the installer and their sums, optionally Authenticode-signed. Every artifact
# is written beside its final name and renamed, so a failed run leaves none half-written.
#
# Reproducible: file times come from SOURCE_DATE_EPOCH (by default the commit's time), the
# zip lists its entries sorted with no owner or extra time fields, and the installer's
# product and package codes are derived from the version and the packaged bytes instead of
# drawn at random, its summary times set to the same date (scripts/lib/msi_summary.py).
#
# Signing, when PHASEBOX_SIGN_CERT and PHASEBOX_SIGN_KEY are set:
#   PHASEBOX_SIGN_CERT           the certificate, or the chain with the certificate first (PEM)
#   PHASEBOX_SIGN_KEY            its private key (PEM)
#   PHASEBOX_SIGN_PASSWORD       the key's password, when it has one
#   PHASEBOX_SIGN_TIMESTAMP_URL  an RFC 3161 time-stamp server (optional; needs the network)
#   PHASEBOX_SIGN_CAFILE         the roots the signatures are verified against (default: the
#                                system's, /etc/ssl/certs/ca-certificates.crt)

# The installer's upgrade code is fixed in packaging/phasebox.wxs; these name-based codes
# are UUIDs of version 5 form made from a SHA-256 of "phasebox" and the text $1.
phasebox_name_guid() {
    local h
    h=$(printf 'phasebox\n%s' "$1" | sha256sum | cut -c1-32)
    local variant="89ab"
    variant="${variant:$((16#${h:16:1} % 4)):1}"
    printf '%s-%s-5%s-%s%s-%s\n' "${h:0:8}" "${h:8:4}" "${h:13:3}" "$variant" "${h:17:3}" \
        "${h:20:12}" | tr '[:lower:]' '[:upper:]'
}

# The version in CMake's project() of the tree at $1.
phasebox_project_version() {
    sed -n 's/^project([a-z_]* VERSION \([0-9]*\.[0-9]*\.[0-9]*\).*/\1/p' "$1/CMakeLists.txt" | head -n 1
}

# Seconds since 1970 for every file time in the packages: SOURCE_DATE_EPOCH, else the time
# of the commit the tree at $1 is on, else 315532800 (1980-01-01, the earliest a zip holds).
phasebox_source_date() {
    if [ -n "${SOURCE_DATE_EPOCH:-}" ]; then
        printf '%s\n' "$SOURCE_DATE_EPOCH"
    elif ! git -C "$1" log -1 --format=%ct 2>/dev/null; then
        printf '315532800\n'
    fi
}

_phasebox_signing_requested() {
    [ -n "${PHASEBOX_SIGN_CERT:-}" ] || [ -n "${PHASEBOX_SIGN_KEY:-}" ]
}

# Signs file $1 in place as "phasebox" with the certificate of PHASEBOX_SIGN_*, signing time
# $2, then verifies the signature. $3 names the file in messages. Fails with a message naming
# the file and the reason.
_phasebox_sign() {
    local file="$1" when="$2" label="$3" signed="$1.signed.tmp" log
    local args=(-certs "$PHASEBOX_SIGN_CERT" -key "$PHASEBOX_SIGN_KEY" -h sha256 -n phasebox)
    local passfile=""
    if [ -n "${PHASEBOX_SIGN_PASSWORD:-}" ]; then
        passfile="$(mktemp)"
        chmod 600 "$passfile"
        printf '%s' "$PHASEBOX_SIGN_PASSWORD" >"$passfile"
        args+=(-readpass "$passfile")
    fi
    if [ -n "${PHASEBOX_SIGN_TIMESTAMP_URL:-}" ]; then
        args+=(-ts "$PHASEBOX_SIGN_TIMESTAMP_URL")
    else
        args+=(-time "$when")
    fi
    log="$(mktemp)"
    rm -f "$signed"
    if ! osslsigncode sign "${args[@]}" -in "$file" -out "$signed" >"$log" 2>&1; then
        phasebox_log "signing $label failed: $(tail -n 3 "$log" | tr '\n' ' ')"
        rm -f "$signed" "$log" ${passfile:+"$passfile"}
        return 1
    fi
    rm -f ${passfile:+"$passfile"}
    local cafile="${PHASEBOX_SIGN_CAFILE:-/etc/ssl/certs/ca-certificates.crt}"
    if ! osslsigncode verify -CAfile "$cafile" -in "$signed" >"$log" 2>&1; then
        phasebox_log "the signature of $label does not verify against $cafile: $(grep -iE 'fail|error' "$log" | head -n 3 | tr '\n' ' ')"
        rm -f "$signed" "$log"
        return 1
    fi
    rm -f "$log"
    mv -f "$signed" "$file"
    phasebox_log "signed and verified: $label"
}

# Zip $1 of folder $2's files $3... in that order, with the times and modes they have.
_phasebox_zip() {
    local zip="$1" dir="$2"
    shift 2
    rm -f "$zip"
    (cd "$dir" && TZ=UTC zip -X -D -q -9 "$zip" "$@")
}

# phasebox_package EXE VERSION OUTDIR: writes phasebox-VERSION-win64.zip and .msi and
# SHA256SUMS (for both) into OUTDIR. Signs the exe and the msi when PHASEBOX_SIGN_CERT and
# PHASEBOX_SIGN_KEY are set, and says so either way.
phasebox_package() {
    local exe="$1" version="$2" out="$3"
    if [ ! -f "$exe" ]; then
        phasebox_log "cannot package $exe: no such file"
        return 1
    fi
    case "$version" in
        [0-9]*.[0-9]*.[0-9]*) ;;
        *) phasebox_log "cannot package version \"$version\": three numbers wanted"; return 1 ;;
    esac
    mkdir -p "$out" || return 1
    out="$(cd "$out" && pwd)"
    local stage="$out/.stage-$version"
    rm -rf "$stage"
    mkdir -p "$stage" || return 1
    local status=0
    _phasebox_package_staged "$exe" "$version" "$out" "$stage" || status=$?
    rm -rf "$stage"
    return "$status"
}

# The work of phasebox_package in folder $4, which it removes afterwards.
_phasebox_package_staged() {
    local exe="$1" version="$2" out="$3" stage="$4"
    local root="$PHASEBOX_ROOT" name="phasebox-$version-win64"
    local epoch
    epoch="$(phasebox_source_date "$root")"
    # Notepad on older Windows 10 shows LF-only text as one line.
    if ! cp "$exe" "$stage/phasebox.exe" ||
        ! sed 's/\r*$/\r/' "$root/packaging/README.txt" >"$stage/README.txt" ||
        ! sed 's/\r*$/\r/' "$root/LICENSE" >"$stage/LICENSE.txt" ||
        ! sed 's/\r*$/\r/' "$root/packaging/THIRD-PARTY.txt" >"$stage/THIRD-PARTY.txt" ||
        ! cp "$root/res/phasebox.ico" "$stage/phasebox.ico"; then
        phasebox_log "cannot gather the packages' files in $stage"
        return 1
    fi
    if _phasebox_signing_requested; then
        if [ -z "${PHASEBOX_SIGN_CERT:-}" ] || [ -z "${PHASEBOX_SIGN_KEY:-}" ]; then
            phasebox_log "signing needs both PHASEBOX_SIGN_CERT and PHASEBOX_SIGN_KEY"
            return 1
        fi
        _phasebox_sign "$stage/phasebox.exe" "$epoch" phasebox.exe || return 1
    else
        phasebox_log "no signing certificate (PHASEBOX_SIGN_CERT, PHASEBOX_SIGN_KEY): the exe and the msi are unsigned"
    fi
    chmod 0755 "$stage/phasebox.exe"
    chmod 0644 "$stage/README.txt" "$stage/LICENSE.txt" "$stage/THIRD-PARTY.txt" \
        "$stage/phasebox.ico"
    # A zip holds times to two seconds and rounds an odd second up, which can carry an entry
    # into the next minute; the even second at or before the source date is held exactly.
    touch -d "@$((epoch - epoch % 2))" "$stage"/*

    local zip="$out/$name.zip" msi="$out/$name.msi"
    if ! _phasebox_zip "$stage/zip.tmp" "$stage" LICENSE.txt README.txt THIRD-PARTY.txt \
        phasebox.exe; then
        phasebox_log "writing $zip failed"
        return 1
    fi

    local payload product package
    payload="$(cd "$stage" && sha256sum LICENSE.txt README.txt THIRD-PARTY.txt phasebox.exe \
        phasebox.ico)"
    product="$(phasebox_name_guid "product $version")"
    package="$(phasebox_name_guid "package $version $payload")"
    # wixl takes the times of the packed files from the files; the package's own code and
    # times are set afterwards.
    # wixl takes source files by relative names only.
    local log="$stage/wixl.log"
    if ! (cd "$stage" && wixl -a x64 -D "Version=$version" -D "ProductCode=$product" \
        -D "PackageCode=$package" -D "StageDir=." -o msi.tmp "$root/packaging/phasebox.wxs") \
        >"$log" 2>&1; then
        phasebox_log "writing $msi failed: wixl says: $(tr '\n' ' ' <"$log")"
        return 1
    fi
    if ! python3 "$root/scripts/lib/msi_summary.py" "$stage/msi.tmp" "$package" "$epoch"; then
        phasebox_log "writing $msi failed: its summary information could not be fixed"
        return 1
    fi
    if _phasebox_signing_requested; then
        _phasebox_sign "$stage/msi.tmp" "$epoch" "$name.msi" || return 1
    fi

    mv -f "$stage/zip.tmp" "$zip"
    mv -f "$stage/msi.tmp" "$msi"
    (cd "$out" && sha256sum "$name.zip" "$name.msi") >"$stage/sums.tmp"
    mv -f "$stage/sums.tmp" "$out/SHA256SUMS"
}
