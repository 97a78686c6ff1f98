# shellcheck shell=bash
# Shared by the scripts and the end-to-end test: installing what is missing, building, and
# a private Wine set-up (prefixes under build/wine, a wineserver kept running for each, a
# virtual X display when needed). A run has the prefixes it uses to itself: programs of two
# runs in one prefix would share Wine's desktop, and with it the keyboard focus and the
# windows that FindWindow sees. phasebox_cleanup, which the scripts run on exit, stops what
# this run started and nothing else.

PHASEBOX_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
PHASEBOX_WINE_ROOT="${PHASEBOX_WINE_ROOT:-$PHASEBOX_ROOT/build/wine}"
export PHASEBOX_WINE_ROOT
PHASEBOX_WINDOW_TITLE="Velkamo DDS simulator"
# Debian's fonts-wine puts Wine's own Tahoma, Tahoma Bold and Marlett here. This Wine build
# never reads the folder by itself (it reaches its data folder through a path with ".."
# components, which Wine refuses as a file name), so each prefix gets copies in its Fonts
# folder.
PHASEBOX_WINE_FONTS="${PHASEBOX_WINE_FONTS:-/usr/share/wine/fonts}"
export WINEDEBUG=-all
# winemenubuilder would copy the Start menu's shortcuts and icons into the desktop menus of
# the user running the scripts, outside the prefix.
export WINEDLLOVERRIDES="mscoree,mshtml,winemenubuilder.exe="
export WINEARCH=win64

# The layout of a prefix; a prefix made for an older one is made again.
_phasebox_prefix_marker=".phasebox-ready-4"
_phasebox_programs=()  # programs this run started, stopped first
_phasebox_prefixes=()  # prefixes this run has to itself,
_phasebox_holders=()   # the processes that hold their locks,
_phasebox_servers=()   # and the wineservers this run started for them ("-" for none)
_phasebox_displays=()  # Xvfb servers this run started, stopped last

phasebox_log() { printf '[phasebox] %s\n' "$*" >&2; }

# Ends a test script: says what failed and exits with 1 (phasebox_cleanup runs on exit).
phasebox_fail() {
    printf 'FAILED: %s\n' "$*" >&2
    exit 1
}

# Installs the Debian packages of the given kinds that are missing, with CMake and Ninja:
#   run    building phasebox.exe and showing its window under Wine (scripts/run)
#   test   the host compiler, GoogleTest and Google Benchmark (the host preset, the tests)
#   clang  the second compiler for Windows (the win-clang preset)
#   fuzz   clang with libFuzzer's runtime of the same version (the fuzz preset)
#   release  the installer's builder, zip, signing and its checks (scripts/release)
#   lint   the formatter and the shell scripts' checker (the lint tests)
#   bench  what the benchmarks need beyond run and test (scripts/bench)
phasebox_install() {
    local wanted=(cmake ninja-build) missing=() kind p
    for kind in "$@"; do
        case "$kind" in
            run) wanted+=(g++-mingw-w64-x86-64-posix libz-mingw-w64-dev wine64 fonts-wine xvfb
                          xdotool imagemagick x11-utils) ;;
            # libasound2: ALSA, whose file plugin records the sound tests' output under Wine.
            test) wanted+=(g++ zlib1g-dev googletest libgtest-dev libbenchmark-dev sox libasound2) ;;
            # A sound server whose null sink takes sound in real time (the listening bench).
            bench) wanted+=(pulseaudio) ;;
            clang) wanted+=(clang lld) ;;
            # The unversioned runtime package follows the default clang's version.
            fuzz) wanted+=(clang libclang-rt-dev zlib1g-dev) ;;
            release) wanted+=(wixl msitools zip unzip osslsigncode openssl python3) ;;
            lint) wanted+=(clang-format-14 shellcheck) ;;
            *) phasebox_log "no such kind of packages: $kind"; return 1 ;;
        esac
    done
    for p in "${wanted[@]}"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    phasebox_log "installing: ${missing[*]}"
    local sudo=()
    [ "$(id -u)" -ne 0 ] && sudo=(sudo)
    "${sudo[@]}" apt-get update -qq
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq "${missing[@]}" >/dev/null
}

# Configures and builds the presets $1... (the presets are found from the tree's root).
phasebox_build() {
    local preset
    for preset in "$@"; do
        (cd "$PHASEBOX_ROOT" && cmake --preset "$preset" >/dev/null &&
            cmake --build --preset "$preset" -j"$(nproc)")
    done
}

# True when $DISPLAY is set and an X server answers there.
phasebox_display_reachable() {
    [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1
}

# Starts a virtual X display of size $1 (WIDTHxHEIGHT, default 1920x1080) unless one is
# given and reachable, and at least that large when $1 is given.
phasebox_display() {
    local size="${1:-1920x1080}" shown
    if phasebox_display_reachable; then
        [ -z "${1:-}" ] && return 0
        shown="$(xdpyinfo | awk '/dimensions:/ { if (!seen++) print $2 }')"
        [ "${shown%x*}" -ge "${size%x*}" ] && [ "${shown#*x}" -ge "${size#*x}" ] && return 0
    fi
    local n
    for n in $(seq 90 120); do
        [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] && continue
        Xvfb ":$n" -screen 0 "${size}x24" -nolisten tcp >/dev/null 2>&1 </dev/null &
        local xvfb=$!
        export DISPLAY=":$n"
        for _ in $(seq 1 50); do
            # A run beside this one may have taken the number first: then this Xvfb ends,
            # and until it has, the server answering is the other run's. The server that
            # holds the number has its pid in the lock file.
            if ! kill -0 "$xvfb" 2>/dev/null; then
                wait "$xvfb" 2>/dev/null || true
                continue 2
            fi
            # (Before the lock file exists its redirection fails: quietly, as stderr is
            # sent away first.)
            if [ "$(tr -d ' ' 2>/dev/null <"/tmp/.X$n-lock")" = "$xvfb" ] &&
                xdpyinfo >/dev/null 2>&1; then
                _phasebox_displays+=("$xvfb")
                return 0
            fi
            sleep 0.1
        done
        kill "$xvfb" 2>/dev/null || true
        wait "$xvfb" 2>/dev/null || true
        phasebox_log "Xvfb :$n did not start"
        return 1
    done
    phasebox_log "no free X display number"
    return 1
}

# True when a window manager runs on $DISPLAY: the root window's _NET_SUPPORTING_WM_CHECK
# names a window whose own _NET_SUPPORTING_WM_CHECK names itself (a stale value from a
# manager that has ended does not).
phasebox_has_window_manager() {
    local check='_NET_SUPPORTING_WM_CHECK' root own
    root=$(xprop -root -notype -f "$check" 32x ' $0' "$check" 2>/dev/null) || return 1
    root="${root##* }"
    case "$root" in 0x*) ;; *) return 1 ;; esac
    own=$(xprop -id "$root" -notype -f "$check" 32x ' $0' "$check" 2>/dev/null) || return 1
    [ "${own##* }" = "$root" ]
}

# Records program $1 as started by this run: phasebox_cleanup ends it if it still runs.
phasebox_track() { _phasebox_programs+=("$1"); }

# Forgets program $1 once it has ended and been waited for (its pid may then be reused).
_phasebox_untrack() {
    local kept=() p
    for p in "${_phasebox_programs[@]}"; do [ "$p" = "$1" ] || kept+=("$p"); done
    _phasebox_programs=("${kept[@]}")
}

# Prints the X id of a visible window titled exactly $1 on $DISPLAY, if there is one.
phasebox_window_titled() {
    # xdotool exits 1 while nothing matches; head may also end it early.
    xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n 1 || true
}

# Waits until a window titled $3 (default $PHASEBOX_WINDOW_TITLE) is visible on $DISPLAY
# and prints its X id. Gives up with a message and status 1 after $1 seconds (default 60),
# or as soon as process $2, when given, has ended without showing it. Safe under
# set -euo pipefail.
phasebox_wait_window() {
    local timeout_s="${1:-60}" pid="${2:-}" title="${3:-$PHASEBOX_WINDOW_TITLE}"
    local deadline=$((SECONDS + timeout_s)) id
    while :; do
        id=$(phasebox_window_titled "$title")
        if [ -n "$id" ]; then
            printf '%s\n' "$id"
            return 0
        fi
        if [ -n "$pid" ] && ! kill -0 "$pid" 2>/dev/null; then
            phasebox_log "the window \"$title\" did not appear: the program ended first"
            return 1
        fi
        if [ "$SECONDS" -ge "$deadline" ]; then
            phasebox_log "the window \"$title\" did not appear on $DISPLAY within $timeout_s s"
            return 1
        fi
        sleep 0.2
    done
}

# Waits up to $2 s (default 20) for program $1, a child of this shell, to end and returns
# its exit code; 124 when it had not ended (it is then killed).
phasebox_wait_exit() {
    local pid="$1" code=0
    for _ in $(seq 1 $((${2:-20} * 10))); do
        if ! kill -0 "$pid" 2>/dev/null; then
            wait "$pid" || code=$?
            _phasebox_untrack "$pid"
            return "$code"
        fi
        sleep 0.1
    done
    phasebox_log "the program did not end within ${2:-20} s"
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
    _phasebox_untrack "$pid"
    return 124
}

# Closes window $1 as a user would (a click on its caption, then Alt+F4) and waits for
# program $2, a child of this shell, to end. Returns the program's exit code, or 124 when it
# had not ended after 20 s (it is then killed).
phasebox_close_window() {
    xdotool mousemove --window "$1" 600 10 click 1 >/dev/null 2>&1 || true
    xdotool key --clearmodifiers alt+F4 >/dev/null 2>&1 || true
    phasebox_wait_exit "$2" 20
}

# Takes lock file $2 with flock options $1 ("-x -w 600": waiting up to 600 s; "-x -n": failing
# at once when taken) and sets _phasebox_holder to the process that holds it: a small process
# of its own, until it is killed or process $PHASEBOX_LOCK_OWNER (this shell unless set)
# ends, so that no program started here inherits the lock (Wine's helper processes outlive
# the programs that start them).
_phasebox_lock() {
    local flag
    flag="$(mktemp -u "${TMPDIR:-/tmp}/phasebox-lock.XXXXXX")"
    # shellcheck disable=SC2086,SC2016 # $1 holds several options; sh expands its own $1, $2
    flock -F $1 "$2" sh -c ': >"$1"; exec tail --pid="$2" -f /dev/null' sh "$flag" "${PHASEBOX_LOCK_OWNER:-$$}" \
        </dev/null >/dev/null 2>&1 &
    _phasebox_holder=$!
    while [ ! -e "$flag" ]; do
        if ! kill -0 "$_phasebox_holder" 2>/dev/null; then
            wait "$_phasebox_holder" 2>/dev/null || true
            return 1
        fi
        sleep 0.05
    done
    rm -f "$flag"
}

_phasebox_unlock() {
    kill "$1" 2>/dev/null || true
    wait "$1" 2>/dev/null || true
}

# Prints the pid of the wineserver that serves prefix $1, if one runs. A server works in a
# folder named after the prefix's device and inode numbers.
_phasebox_server_pid() {
    local suffix p
    [ -d "$1" ] || return 1
    suffix="$(printf '/server-%x-%x' "$(stat -L -c %d "$1")" "$(stat -L -c %i "$1")")"
    for p in /proc/[0-9]*; do
        case "$(readlink "$p/exe" 2>/dev/null)" in
            */wineserver*) ;;
            *) continue ;;
        esac
        case "$(readlink "$p/cwd" 2>/dev/null)" in
            *"$suffix") printf '%s\n' "${p#/proc/}"; return 0 ;;
        esac
    done
    return 1
}

# Imports the registry file on standard input into prefix $1, then waits for the prefix's
# server to write it out.
_phasebox_import_reg() {
    cat >"$1/drive_c/phasebox.reg" || return 1
    WINEPREFIX="$1" wine regedit /S 'C:\phasebox.reg' >/dev/null 2>&1 </dev/null || return 1
    WINEPREFIX="$1" wineserver -w
    rm -f "$1/drive_c/phasebox.reg"
}

# Makes the prefix every other is copied from, $PHASEBOX_WINE_ROOT/base, unless it is there:
# Wine's own set-up (wineboot), 15 s or more, is most of the time it takes to make a prefix,
# and a copy takes a few seconds. It has Wine's Tahoma, Tahoma Bold and Marlett in its Fonts
# folder, registered as an installation on Windows registers them. Nothing ever runs in it.
# The caller holds its lock.
_phasebox_make_base_prefix() {
    local base="$PHASEBOX_WINE_ROOT/base" font
    [ -f "$base/$_phasebox_prefix_marker.base" ] && return 0
    for font in tahoma.ttf tahomabd.ttf marlett.ttf; do
        if [ ! -f "$PHASEBOX_WINE_FONTS/$font" ]; then
            phasebox_log "$PHASEBOX_WINE_FONTS/$font is missing (Debian package fonts-wine)"
            return 1
        fi
    done
    phasebox_log "preparing the Wine prefix the others are copied from"
    if [ -d "$base" ]; then
        # One of an older layout, or half made: its server, if any, goes with it.
        WINEPREFIX="$base" wineserver -k >/dev/null 2>&1 </dev/null || true
        WINEPREFIX="$base" wineserver -w >/dev/null 2>&1 </dev/null || true
        rm -rf "$base"
    fi
    WINEPREFIX="$base" wineboot -i >/dev/null 2>&1 </dev/null || return 1
    WINEPREFIX="$base" wineserver -w
    for font in tahoma.ttf tahomabd.ttf marlett.ttf; do
        cp "$PHASEBOX_WINE_FONTS/$font" "$base/drive_c/windows/Fonts/$font" || return 1
    done
    _phasebox_import_reg "$base" <<EOF || return 1
REGEDIT4

[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows NT\\CurrentVersion\\Fonts]
"Tahoma (TrueType)"="tahoma.ttf"
"Tahoma Bold (TrueType)"="tahomabd.ttf"
"Marlett (TrueType)"="marlett.ttf"
EOF
    touch "$base/$_phasebox_prefix_marker.base"
}

# Makes prefix $1 for density $2, a copy of the base prefix; $3 is "managed" when a window
# manager frames its windows.
_phasebox_make_prefix() {
    local prefix="$1" dpi="$2" kind="$3" managed=N status=0
    [ "$kind" = managed ] && managed=Y
    phasebox_log "preparing Wine prefix ${prefix##*/} ($dpi dpi)"
    if [ -d "$prefix" ]; then
        # A prefix of an older layout: its server, if any, goes with it.
        WINEPREFIX="$prefix" wineserver -k >/dev/null 2>&1 </dev/null || true
        WINEPREFIX="$prefix" wineserver -w >/dev/null 2>&1 </dev/null || true
        rm -rf "$prefix"
    fi
    mkdir -p "$PHASEBOX_WINE_ROOT"
    # The base is made and copied under its lock, which no Wine process may inherit.
    {
        if ! flock -x -w 1200 9; then
            phasebox_log "the base Wine prefix stayed locked for 1200 s"
            status=1
        elif ! _phasebox_make_base_prefix 9>&- || ! cp -a --reflink=auto "$PHASEBOX_WINE_ROOT/base" "$prefix"; then
            status=1
        fi
    } 9>"$PHASEBOX_WINE_ROOT/base.lock"
    [ "$status" -eq 0 ] || return 1
    rm -f "$prefix/$_phasebox_prefix_marker.base"
    # Without a window manager (Managed N) Wine frames its windows itself; a managed window
    # would wait 2 s for a window manager each time it is hidden.
    _phasebox_import_reg "$prefix" <<EOF || return 1
REGEDIT4

[HKEY_CURRENT_USER\\Control Panel\\Desktop]
"LogPixels"=dword:$(printf '%08x' "$dpi")

[HKEY_CURRENT_USER\\Software\\Wine\\X11 Driver]
"Managed"="$managed"
"Decorated"="$managed"
EOF
    touch "$prefix/$_phasebox_prefix_marker"
}

# Claims prefix folder $1 for this run, makes it (once) for density $2 and kind $3 (see
# _phasebox_make_prefix) and starts its persistent wineserver unless one runs; one that runs
# already (left by a run that was killed, or started by hand) is used as it is and left
# running. $4 is "wait" to wait for a run that holds the prefix, "try" to return 2 at once,
# "fresh" to wait and then make the prefix anew. Sets PHASEBOX_PREFIX. The server must not inherit a pipe of ours: a test runner that
# captures output would wait for it to exit.
_phasebox_claim_prefix() {
    local prefix="$1" dpi="$2" kind="$3" mode="$4" server=-
    mkdir -p "$PHASEBOX_WINE_ROOT"
    if ! _phasebox_lock "-x -n" "$prefix.lock"; then
        [ "$mode" = try ] && return 2
        phasebox_log "waiting for Wine prefix ${prefix##*/}: another run uses it"
        if ! _phasebox_lock "-x -w 600" "$prefix.lock"; then
            phasebox_log "Wine prefix ${prefix##*/} stayed in use for 600 s"
            return 1
        fi
    fi
    local holder="$_phasebox_holder"
    [ "$mode" = fresh ] && rm -f "$prefix/$_phasebox_prefix_marker"
    if [ ! -f "$prefix/$_phasebox_prefix_marker" ] && ! _phasebox_make_prefix "$prefix" "$dpi" "$kind"; then
        _phasebox_unlock "$holder"
        return 1
    fi
    if WINEPREFIX="$prefix" wineserver -p >/dev/null 2>&1 </dev/null; then
        server="$(_phasebox_server_pid "$prefix")" || server=-
    fi
    _phasebox_prefixes+=("$prefix")
    _phasebox_holders+=("$holder")
    _phasebox_servers+=("$server")
    # shellcheck disable=SC2034 # read by the scripts
    PHASEBOX_PREFIX="$prefix"
}

# The prefix for density $1 that the test presets name (build/wine/dpi$1). Waits while
# another run uses it.
phasebox_wine_prefix() {
    _phasebox_claim_prefix "$PHASEBOX_WINE_ROOT/dpi$1" "$1" unmanaged wait
}

# A prefix made anew for this run at 120 dpi, build/wine/$1 (waiting while another run uses
# it): for tests that must start from a clean Windows.
phasebox_fresh_prefix() {
    _phasebox_claim_prefix "$PHASEBOX_WINE_ROOT/$1" 120 unmanaged fresh
}

# A prefix for scripts/run at density $1, "managed" as $2 for a display with a window
# manager: run$1 or run$1-managed, or a second, third or fourth one of the kind while other
# runs use the first.
phasebox_run_prefix() {
    local dpi="$1" kind="${2:-unmanaged}" name n status
    name="run$dpi"
    [ "$kind" = managed ] && name+="-managed"
    for n in "" -2 -3 -4; do
        status=0
        _phasebox_claim_prefix "$PHASEBOX_WINE_ROOT/$name$n" "$dpi" "$kind" try || status=$?
        [ "$status" -eq 2 ] && continue
        return "$status"
    done
    phasebox_log "all four Wine prefixes $name are in use by other runs"
    return 1
}

# For a test that CTest runs in a seat its fixture holds (scripts/lib/ctest-fixture): sets
# DISPLAY to the seat's virtual display. The test's environment names the seat's prefix
# (WINEPREFIX) and its state file (PHASEBOX_DISPLAY_FILE).
phasebox_fixture_seat() {
    if [ -z "${WINEPREFIX:-}" ] || [ ! -f "${PHASEBOX_DISPLAY_FILE:-}" ]; then
        phasebox_log "no Wine prefix and display from a CTest fixture: run this through ctest (ctest --preset win -L e2e)"
        return 1
    fi
    read -r DISPLAY _ <"$PHASEBOX_DISPLAY_FILE"
    export DISPLAY
}

# Stops what this run started: its programs, the wineservers it started (then it releases
# its prefixes), and its virtual displays.
phasebox_cleanup() {
    local pid i prefix server
    for pid in "${_phasebox_programs[@]}"; do
        kill "$pid" >/dev/null 2>&1 || true
        wait "$pid" 2>/dev/null || true
    done
    for i in "${!_phasebox_prefixes[@]}"; do
        prefix="${_phasebox_prefixes[$i]}"
        server="${_phasebox_servers[$i]}"
        if [ "$server" != - ] && [ "$(_phasebox_server_pid "$prefix")" = "$server" ]; then
            WINEPREFIX="$prefix" wineserver -k >/dev/null 2>&1 </dev/null || true
            WINEPREFIX="$prefix" wineserver -w >/dev/null 2>&1 </dev/null || true
        fi
        _phasebox_unlock "${_phasebox_holders[$i]}"
    done
    for pid in "${_phasebox_displays[@]}"; do
        kill "$pid" >/dev/null 2>&1 || true
        wait "$pid" 2>/dev/null || true
    done
}
