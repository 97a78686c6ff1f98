# shellcheck shell=bash
# Sourced by the sound tests' runners.

# Writes $1/.asoundrc making ALSA's default device the file $2 in format $3 (wav or raw),
# taken as fast as it comes: a HOME for a Wine process whose sound is to be recorded.
phasebox_alsa_default_to_file() {
    mkdir -p "$1"
    cat >"$1/.asoundrc" <<ASOUND
pcm.!default {
    type file
    slave.pcm "null"
    file "$2"
    format "$3"
}
ASOUND
}
