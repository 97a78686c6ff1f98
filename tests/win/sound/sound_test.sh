#!/usr/bin/env bash
# Runs the sound device's tests (program $1) under Wine in a prefix of their own,
# $PHASEBOX_WINE_ROOT/sound, twice:
#  - with Wine's ALSA driver (HKCU\Software\Wine\Drivers, Audio = alsa) and a HOME whose
#    .asoundrc makes ALSA's default device a WAV file, which the test reads back;
#  - with an empty Audio value, Wine's way to load no sound driver at all.
# The prefix is locked for the run; the wineserver started here is stopped at the end.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../../../scripts/lib/common.sh"

program="$1"
prefix="$PHASEBOX_WINE_ROOT/sound"
marker="$prefix/.phasebox-sound-ready-1"
work="$(mktemp -d "${TMPDIR:-/tmp}/phasebox-sound.XXXXXX")"
server_started=0
export WINEPREFIX="$prefix"

finish() {
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
    env "$@" wine "$program" --gtest_brief=1 9>&- >"$log" 2>&1 </dev/null || code=$?
    cat "$log"
    return "$code"
}

set_audio() {
    wine reg add 'HKCU\Software\Wine\Drivers' /v Audio /t REG_SZ /d "$1" /f \
        9>&- >/dev/null 2>&1 </dev/null
}

mkdir -p "$work/home"
wav="$work/recording.wav"
cat >"$work/home/.asoundrc" <<ASOUND
pcm.!default {
    type file
    slave.pcm "null"
    file "$wav"
    format "wav"
}
ASOUND
status=0
set_audio alsa
run HOME="$work/home" PHASEBOX_SOUND_WAV="Z:${wav//\//\\}" || status=1

set_audio ""
run PHASEBOX_SOUND_NONE=1 || status=1
exit "$status"
