#!/usr/bin/env bash
# Runs the sound device's tests (program $1) under Wine in a prefix of their own,
# $PHASEBOX_WINE_ROOT/sound, three times:
#  - with Wine's ALSA driver (HKCU\Software\Wine\Drivers, Audio = alsa) and a HOME whose
#    .asoundrc makes ALSA's default device a WAV file, which the test reads back;
#  - with the ALSA driver and a default device that names a card the machine lacks;
#  - with an empty Audio value, Wine's way to load no sound driver at all.
# In the last two the program is told to expect no device.
# With --listen first, runs program $2 with the arguments after it once (the listening
# benchmark), on the caller's display, into a sink that takes sound in real time: a private
# sound server's null sink through Wine's PulseAudio driver. Without the server installed it
# falls back to ALSA's null device, which takes sound as fast as it comes, so that blocks
# finish early and underruns mean little.
# The prefix is locked for the run; the wineserver started here is stopped at the end.
set -euo pipefail
# shellcheck source=scripts/lib/common.sh
source "$(dirname "${BASH_SOURCE[0]}")/../../../scripts/lib/common.sh"
# shellcheck source=tests/win/sound/alsa_file.sh
source "$(dirname "${BASH_SOURCE[0]}")/alsa_file.sh"

mode="test"
if [ "${1:-}" = --listen ]; then
    mode=listen
    shift
fi
program="$1"
shift
prefix="$PHASEBOX_WINE_ROOT/sound"
marker="$prefix/.phasebox-sound-ready-1"
work="$(mktemp -d "${TMPDIR:-/tmp}/phasebox-sound.XXXXXX")"
server_started=0
sound_server=""
export WINEPREFIX="$prefix"

# shellcheck disable=SC2317 # run by the EXIT trap
finish() {
    [ -n "$sound_server" ] && { kill "$sound_server" 2>/dev/null || true; }
    [ -n "$sound_server" ] && { wait "$sound_server" 2>/dev/null || true; }
    # 9>&-: no Wine process may hold the prefix's lock after this script.
    [ "$server_started" = 1 ] && { wineserver -k 9>&- >/dev/null 2>&1 </dev/null || true; }
    [ "$server_started" = 1 ] && { wineserver -w 9>&- >/dev/null 2>&1 </dev/null || true; }
    rm -rf "$work"
}
trap finish EXIT

mkdir -p "$PHASEBOX_WINE_ROOT"
exec 9>"$prefix.lock"
if ! flock -w 600 9; then
    phasebox_log "Wine prefix sound stayed in use for 600 s"
    exit 1
fi
if [ ! -f "$marker" ]; then
    phasebox_log "preparing Wine prefix sound"
    rm -rf "$prefix"
    wineboot -i 9>&- >/dev/null 2>&1 </dev/null
    wineserver -w 9>&-
    touch "$marker"
fi
# A persistent server, its output away from the runner's pipe (see WINE-NOTES.md).
wineserver -p 9>&- >/dev/null 2>&1 </dev/null
server_started=1

# Runs the test program with the environment given, its output through a file (Wine's
# helper processes would keep a pipe open).
run() {
    local log="$work/log" code=0
    env "$@" wine "$program" "${arguments[@]}" 9>&- >"$log" 2>&1 </dev/null || code=$?
    cat "$log"
    return "$code"
}

set_audio() {
    wine reg add 'HKCU\Software\Wine\Drivers' /v Audio /t REG_SZ /d "$1" /f \
        9>&- >/dev/null 2>&1 </dev/null
}

# A sound server of this run with one null sink, which plays in real time into nothing.
start_sound_server() {
    mkdir -p "$work/pulse"
    cat >"$work/pulse/default.pa" <<PA
load-module module-null-sink sink_name=phasebox_null
set-default-sink phasebox_null
load-module module-native-protocol-unix auth-anonymous=1 socket=$work/pulse/native
PA
    HOME="$work/pulse" XDG_RUNTIME_DIR="$work/pulse" pulseaudio -n -F "$work/pulse/default.pa" \
        --daemonize=no --exit-idle-time=-1 --use-pid-file=no \
        9>&- >"$work/pulse/log" 2>&1 </dev/null &
    sound_server=$!
    for _ in $(seq 1 100); do
        [ -S "$work/pulse/native" ] && return 0
        sleep 0.1
    done
    phasebox_log "the sound server did not start:"
    cat "$work/pulse/log" >&2
    return 1
}

if [ "$mode" = listen ]; then
    arguments=("$@")
    if command -v pulseaudio >/dev/null; then
        start_sound_server
        set_audio pulse
        run PULSE_SERVER="unix:$work/pulse/native"
    else
        phasebox_log "pulseaudio is not installed: ALSA's null device takes the sound at once"
        phasebox_alsa_default_to_file "$work/home" /dev/null raw
        set_audio alsa
        run HOME="$work/home"
    fi
    exit
fi

arguments=(--gtest_brief=1)
wav="$work/recording.wav"
phasebox_alsa_default_to_file "$work/home" "$wav" wav
status=0
set_audio alsa
run HOME="$work/home" PHASEBOX_SOUND_WAV="Z:${wav//\//\\}" || status=1

# The ALSA driver whose default device is a card the machine does not have.
mkdir -p "$work/broken"
printf 'pcm.!default {\n    type hw\n    card 31\n}\n' >"$work/broken/.asoundrc"
run HOME="$work/broken" PHASEBOX_SOUND_NONE=1 || status=1

set_audio ""
run PHASEBOX_SOUND_NONE=1 || status=1
exit "$status"
