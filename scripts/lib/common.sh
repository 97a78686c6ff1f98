# Shared by scripts/run and scripts/test: installing what is missing, building, and a
# private Wine set-up (one prefix per display density under build/wine, one persistent
# wineserver each, a virtual X display when needed). Everything started here is stopped
# by phasebox_cleanup, which the scripts run on exit.

PHASEBOX_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
PHASEBOX_WINE_ROOT="${PHASEBOX_WINE_ROOT:-$PHASEBOX_ROOT/build/wine}"
export PHASEBOX_WINE_ROOT
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
export WINEARCH=win64

_phasebox_pids=()
_phasebox_prefixes=()

phasebox_log() { printf '[phasebox] %s\n' "$*" >&2; }

# Debian packages the build and the tests need; only the missing ones are installed.
phasebox_install() {
    local wanted=(cmake ninja-build g++ googletest libbenchmark-dev
                  g++-mingw-w64-x86-64-posix mingw-w64-tools wine64 xvfb xdotool imagemagick
                  x11-utils)
    local missing=()
    wanted+=(clang libclang-rt-14-dev)  # the fuzz preset: clang and libFuzzer
    local p
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

phasebox_build() {
    local preset
    for preset in "$@"; do
        cmake --preset "$preset" >/dev/null
        cmake --build --preset "$preset" -j"$(nproc)"
    done
}

# Starts a virtual X display unless one is given and reachable.
phasebox_display() {
    if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then return 0; fi
    local n
    for n in $(seq 90 120); do
        [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] && continue
        Xvfb ":$n" -screen 0 1920x1080x24 -nolisten tcp >/dev/null 2>&1 &
        _phasebox_pids+=("$!")
        export DISPLAY=":$n"
        local i
        for i in $(seq 1 50); do
            xdpyinfo >/dev/null 2>&1 && return 0
            sleep 0.1
        done
        phasebox_log "Xvfb :$n did not start"
        return 1
    done
    phasebox_log "no free X display number"
    return 1
}

# Makes (once) the prefix for density $1 and starts its persistent wineserver. The
# server must not inherit a pipe of ours: a test runner that captures output would wait
# for it to exit.
phasebox_wine_prefix() {
    local dpi="$1"
    local prefix="$PHASEBOX_WINE_ROOT/dpi$dpi"
    mkdir -p "$PHASEBOX_WINE_ROOT"
    if [ ! -f "$prefix/.phasebox-ready-3" ]; then
        phasebox_log "preparing Wine prefix for $dpi dpi"
        rm -rf "$prefix"
        WINEPREFIX="$prefix" wineboot -i >/dev/null 2>&1 </dev/null
        WINEPREFIX="$prefix" wineserver -w
        WINEPREFIX="$prefix" wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels \
            /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1 </dev/null
        # There is no window manager on Xvfb: Wine manages and frames its windows itself
        # (a managed window would wait 2 s for a window manager each time it is hidden).
        WINEPREFIX="$prefix" wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed \
            /t REG_SZ /d N /f >/dev/null 2>&1 </dev/null
        WINEPREFIX="$prefix" wine reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated \
            /t REG_SZ /d N /f >/dev/null 2>&1 </dev/null
        WINEPREFIX="$prefix" wineserver -w
        touch "$prefix/.phasebox-ready-3"
    fi
    # A server that already runs for this prefix (another run) is used as it is.
    WINEPREFIX="$prefix" wineserver -p >/dev/null 2>&1 </dev/null || true
    _phasebox_prefixes+=("$prefix")
}

phasebox_cleanup() {
    local prefix pid
    for prefix in "${_phasebox_prefixes[@]}"; do
        WINEPREFIX="$prefix" wineserver -k >/dev/null 2>&1 || true
    done
    for pid in "${_phasebox_pids[@]}"; do
        kill "$pid" >/dev/null 2>&1 || true
        wait "$pid" 2>/dev/null || true
    done
}
