#!/usr/bin/env bash
# Runs a test program ($1, with the arguments after it) in the caller's Wine prefix and on
# its display (a CTest seat) with ALSA's default device recording to a WAV file, which the
# program finds named in PHASEBOX_SOUND_WAV. The program's HOME holds the ALSA set-up; no
# sound server is reached, so Wine's sound takes ALSA's default device.
set -euo pipefail
here="$(dirname "${BASH_SOURCE[0]}")"
# shellcheck source=scripts/lib/common.sh
source "$here/../../../scripts/lib/common.sh"
# shellcheck source=tests/win/sound/alsa_file.sh
source "$here/alsa_file.sh"

work="$(mktemp -d "${TMPDIR:-/tmp}/phasebox-listen.XXXXXX")"
trap 'rm -rf "$work"' EXIT
wav="$work/listen.wav"
phasebox_alsa_default_to_file "$work/home" "$wav" wav
printf 'autospawn = no\n' >"$work/pulse-client.conf"
# The caller's caches (fonts) stay where they are.
cache="${XDG_CACHE_HOME:-$HOME/.cache}"
HOME="$work/home" XDG_CACHE_HOME="$cache" \
    PULSE_SERVER="unix:$work/no-sound-server" PULSE_CLIENTCONFIG="$work/pulse-client.conf" \
    PHASEBOX_SOUND_WAV="Z:${wav//\//\\}" "$PHASEBOX_ROOT/scripts/lib/wine-run" "$@"
