#!/usr/bin/env bash
# End-to-end check of what leaves the program, as separate processes of phasebox.exe
# ($PHASEBOX_EXE) under Wine in the seat of 120 dpi, run by CTest (label output):
#   output.sh render  --render to CSV and WAV (exit codes, contents, the tone measured by
#                     sox), render failures told on the standard error (a file and a pipe)
#                     with exit code 2, no file and no window; --spectrum renders against
#                     an independent transform. Prints the first CSV lines,
#                     sox's measurements and rows per second of a 10 million row render.
#   output.sh boxes   a bad start option (one box naming it, no main window, exit code 2),
#                     --help, and a start with options.
# Stops at the first check that fails, naming it. Files and pictures are left in
# build/e2e/output/.
set -uo pipefail
# shellcheck source=scripts/lib/common.sh
source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/lib/common.sh"
trap phasebox_cleanup EXIT
phasebox_fixture_seat || exit 1

exe="${PHASEBOX_EXE:-$PHASEBOX_ROOT/build/win/phasebox.exe}"
out="$PHASEBOX_ROOT/build/e2e/output/${1:-}"

# Whether $1 lies within 1 % of $2.
within_1_percent() {
    awk -v a="$1" -v b="$2" 'BEGIN { d = a - b; if (d < 0) d = -d; exit !(b > 0 && d <= b / 100) }'
}

# The frequency of the strongest bin of sox's spectrum of WAV file $1.
spectrum_peak() {
    sox "$1" -n stat -freq 2>&1 | awk 'NF == 2 && $1 ~ /^[0-9.]+$/ && $2 > best { best = $2; f = $1 } END { print f }'
}

render() {
    local code start end rows inc expected peak line leftover
    echo "--render to CSV"
    code=0
    wine "$exe" --render tri.csv --wave TRI --increment 700 --samples 5 >/dev/null 2>err.txt </dev/null || code=$?
    [ "$code" -eq 0 ] || phasebox_fail "render to tri.csv: exit code $code, 0 wanted"
    printf 'step,accumulator,high_byte,low_byte,value\n0,0,0,0,0\n1,700,2,188,4\n2,1400,5,120,10\n3,2100,8,52,16\n4,2800,10,240,20\n' >tri.expected
    cmp -s <(tr -d '\r' <tri.csv) tri.expected ||
        phasebox_fail "tri.csv does not hold the rows of the triangle at increment 700"
    [ ! -s err.txt ] || phasebox_fail "render to tri.csv wrote to the standard error: $(head -n 3 err.txt)"
    echo "    first lines of tri.csv:"
    tr -d '\r' <tri.csv | sed 's/^/      /'

    start=$(date +%s.%N)
    code=0
    wine "$exe" --render big.csv --samples 10000000 >/dev/null 2>&1 </dev/null || code=$?
    end=$(date +%s.%N)
    [ "$code" -eq 0 ] || phasebox_fail "10000000 rows: exit code $code, 0 wanted"
    rows=$(($(wc -l <big.csv) - 1))
    [ "$rows" -eq 10000000 ] || phasebox_fail "10000000 rows wanted, $rows written"
    echo "    rows per second under Wine, file included: $(awk -v r="$rows" -v s="$start" -v e="$end" 'BEGIN { printf "%.0f (%.2f s)", r / (e - s), e - s }')"
    line=$(tail -n 1 big.csv | tr -d '\r')
    [ "$line" = "9999999,32512,127,0,131" ] || phasebox_fail "the last of 10000000 rows is \"$line\""
    rm -f big.csv

    echo "--render to WAV"
    for inc in 256 700; do
        code=0
        wine "$exe" --render "tone$inc.wav" --increment "$inc" >/dev/null 2>&1 </dev/null || code=$?
        [ "$code" -eq 0 ] || phasebox_fail "render at increment $inc: exit code $code, 0 wanted"
        [ "$(stat -c %s "tone$inc.wav")" -eq 96044 ] ||
            phasebox_fail "increment $inc: $(stat -c %s "tone$inc.wav") bytes, 2 s at 48 kHz are 96044"
        expected=$(awk -v m="$inc" 'BEGIN { printf "%.4f", m * 48000 / 65536 }')
        peak=$(spectrum_peak "tone$inc.wav")
        within_1_percent "${peak:-0}" "$expected" ||
            phasebox_fail "increment $inc: sox's strongest frequency ${peak:-none} Hz is not within 1 % of $expected Hz"
        echo "    sox tone$inc.wav -n stat:"
        sox "tone$inc.wav" -n stat 2>&1 | grep -E "Samples read|Length|Rough" | sed 's/^/      /'
    done
    code=0
    wine "$exe" --render short.wav --seconds 1 --clock 8001 --wave sqr >/dev/null 2>&1 </dev/null || code=$?
    { [ "$code" -eq 0 ] && [ "$(stat -c %s short.wav)" -eq 8046 ]; } ||
        phasebox_fail "odd sample count: exit code $code and $(stat -c %s short.wav 2>/dev/null) bytes, 0 and 44 + 8001 + pad = 8046 wanted"

    echo "--render to CSV with --spectrum, against an independent transform"
    local pair wave
    for pair in "sin 256" "sin 257" "sqr 1000" "saw 40000"; do
        read -r wave inc <<<"$pair"
        code=0
        wine "$exe" --render "spectrum-$wave-$inc.csv" --spectrum --wave "$wave" --increment "$inc" \
            --clock 44100 >/dev/null 2>err.txt </dev/null || code=$?
        [ "$code" -eq 0 ] || phasebox_fail "spectrum of $wave at $inc: exit code $code, 0 wanted"
        wine "$exe" --render "samples-$wave-$inc.csv" --wave "$wave" --increment "$inc" \
            --samples 65536 >/dev/null 2>&1 </dev/null ||
            phasebox_fail "65536 samples of $wave at $inc not rendered"
        echo "    $wave at increment $inc, clock 44100:"
        python3 "$PHASEBOX_ROOT/tests/e2e/spectrum_oracle.py" "samples-$wave-$inc.csv" \
            "spectrum-$wave-$inc.csv" 44100 ||
            phasebox_fail "the spectrum of $wave at $inc disagrees with the oracle"
    done
    code=0
    wine "$exe" --render s.wav --spectrum >/dev/null 2>err.txt </dev/null || code=$?
    { [ "$code" -eq 2 ] && [ ! -e s.wav ] && grep -qF 'Option --spectrum does not apply to the .wav file' err.txt; } ||
        phasebox_fail "--spectrum with a .wav file: exit code $code, $(head -n 1 err.txt | tr -d '\r')"

    echo "render failures"
    code=0
    wine "$exe" --render 'Z:\sys\x.csv' >/dev/null 2>err.txt </dev/null || code=$?
    [ "$code" -eq 2 ] || phasebox_fail "a folder that takes no file: exit code $code, 2 wanted"
    { [ "$(wc -l <err.txt)" -eq 1 ] && grep -qF 'Cannot write "Z:\sys\x.csv": ' err.txt; } ||
        phasebox_fail "a folder that takes no file: not one line on the standard error (a file): $(head -n 3 err.txt | tr -d '\r')"
    line=$(wine "$exe" --render out.csv --samples 0 2>&1 </dev/null | tr -d '\r')
    code=${PIPESTATUS[0]}
    [ "$code" -eq 2 ] || phasebox_fail "a bad render option through a pipe: exit code $code, 2 wanted"
    [ "$line" = 'Option --samples: the value "0" is out of range; accepted: 1 to 10000000' ] ||
        phasebox_fail "a bad render option through a pipe: \"$line\""
    leftover=$(find . -mindepth 1 ! -name 'tri*' ! -name 'tone*' ! -name 'short*' ! -name 'err*' \
        ! -name 'spectrum-*' ! -name 'samples-*')
    [ -z "$leftover" ] || phasebox_fail "a failed render left files: $leftover"
    [ -z "$(phasebox_window_titled phasebox)" ] || phasebox_fail "a render opened a window"
}

# Starts the program with arguments $3...; expects one box titled phasebox and no main
# window, saves the box's picture as $out/$1.png, closes it with Enter and expects exit code $2.
expect_box_then_exit() {
    local picture="$1" expected="$2" box code=0
    shift 2
    wine "$exe" "$@" >/dev/null 2>&1 </dev/null &
    local app=$!
    phasebox_track "$app"
    box=$(phasebox_wait_window 60 "$app" phasebox) ||
        phasebox_fail "$*: no box titled phasebox"
    sleep 0.5
    import -window "$box" "$out/$picture.png"
    [ -z "$(phasebox_window_titled "$PHASEBOX_WINDOW_TITLE")" ] ||
        phasebox_fail "$*: a main window beside the box"
    xdotool key Return >/dev/null 2>&1
    phasebox_wait_exit "$app" 30 || code=$?
    [ "$code" -eq "$expected" ] ||
        phasebox_fail "$*: exit code $code after the box is closed, $expected wanted"
}

boxes() {
    local app id code=0
    echo "a bad start option"
    expect_box_then_exit bad-option 2 --wave tri --increment 70000 --run

    echo "--help"
    expect_box_then_exit help 0 /?

    echo "a start with options"
    wine "$exe" --wave sqr --increment 32768 --interval 100 --width 1000 --run >/dev/null 2>&1 </dev/null &
    app=$!
    phasebox_track "$app"
    id=$(phasebox_wait_window 60 "$app") || phasebox_fail "a start with options: no window"
    sleep 1.5
    import -window "$id" "$out/started.png"
    phasebox_close_window "$id" "$app" || code=$?
    [ "$code" -eq 0 ] || phasebox_fail "a start with options: exit code $code after Alt+F4, 0 wanted"
}

case "${1:-}" in
    render | boxes) ;;
    *) phasebox_log "usage: output.sh render|boxes"; exit 2 ;;
esac
rm -rf "$out"
mkdir -p "$out"
cd "$out" || exit 1
"$1"
echo "output $1: every check passed"
