#!/usr/bin/env bash
# End-to-end check of what leaves the program, as separate processes under Wine: --render to
# CSV and WAV (exit codes, contents, the tone measured by sox), render failures told on the
# standard error (a file and a pipe) with exit code 2 and no file, a bad start option (one
# box naming it, no main window, exit code 2), --help, and a start with options. Prints the
# figures: the first CSV lines, sox's measurements, rows per second of a 10 million row
# render. Uses $DISPLAY when it is reachable and starts a virtual display otherwise; claims
# the Wine prefix for 120 dpi (waiting while another run uses it).
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/lib/common.sh"
source "$PHASEBOX_ROOT/scripts/lib/checks.sh"
trap phasebox_cleanup EXIT
phasebox_display || exit 1
phasebox_wine_prefix 120 || exit 1

exe="$PHASEBOX_ROOT/build/win/phasebox.exe"
out="$PHASEBOX_ROOT/build/e2e/output"
rm -rf "$out"
mkdir -p "$out"
cd "$out" || exit 1
export WINEPREFIX="$PHASEBOX_WINE_ROOT/dpi120"

# Whether $1 lies within 1 % of $2.
within_1_percent() {
    awk -v a="$1" -v b="$2" 'BEGIN { d = a - b; if (d < 0) d = -d; exit !(b > 0 && d <= b / 100) }'
}

# The frequency of the strongest bin of sox's spectrum of WAV file $1.
spectrum_peak() {
    sox "$1" -n stat -freq 2>&1 | awk 'NF == 2 && $1 ~ /^[0-9.]+$/ && $2 > best { best = $2; f = $1 } END { print f }'
}

# The X id of a visible window titled exactly $1, if there is one.
window_titled() {
    xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n 1
}

# Waits up to $2 s for a window titled $1 while program $3 runs; prints its id.
wait_titled() {
    local deadline=$((SECONDS + $2)) id
    while [ "$SECONDS" -lt "$deadline" ]; do
        id=$(window_titled "$1")
        [ -n "$id" ] && { echo "$id"; return 0; }
        kill -0 "$3" 2>/dev/null || return 1
        sleep 0.2
    done
    return 1
}

# Waits for background program $1 to end (at most $2 s) and returns its exit code.
wait_exit() {
    local code=0
    for _ in $(seq 1 $(($2 * 10))); do
        kill -0 "$1" 2>/dev/null || break
        sleep 0.1
    done
    if kill -0 "$1" 2>/dev/null; then
        kill "$1" 2>/dev/null
        wait "$1" 2>/dev/null
        return 124
    fi
    wait "$1" || code=$?
    return "$code"
}

echo "--render to CSV"
code=0
wine "$exe" --render tri.csv --wave TRI --increment 700 --samples 5 >/dev/null 2>err.txt </dev/null || code=$?
check_that "exit code $code" [ "$code" -eq 0 ]
printf 'step,accumulator,high_byte,low_byte,value\n0,0,0,0,0\n1,700,2,188,4\n2,1400,5,120,10\n3,2100,8,52,16\n4,2800,10,240,20\n' >tri.expected
check_that "the rows of the triangle at increment 700" cmp -s <(tr -d '\r' <tri.csv) tri.expected
check_that "nothing on the standard error" [ ! -s err.txt ]
echo "    first lines of tri.csv:"
tr -d '\r' <tri.csv | sed 's/^/      /'

start=$(date +%s.%N)
code=0
wine "$exe" --render big.csv --samples 10000000 >/dev/null 2>&1 </dev/null || code=$?
end=$(date +%s.%N)
check_that "10000000 rows: exit code $code" [ "$code" -eq 0 ]
rows=$(($(wc -l <big.csv) - 1))
check_that "10000000 rows: $rows rows written" [ "$rows" -eq 10000000 ]
echo "    rows per second under Wine, file included: $(awk -v r="$rows" -v s="$start" -v e="$end" 'BEGIN { printf "%.0f (%.2f s)", r / (e - s), e - s }')"
check_that "the last row" [ "$(tail -n 1 big.csv | tr -d '\r')" = "9999999,32512,127,0,131" ]
rm -f big.csv

echo "--render to WAV"
for inc in 256 700; do
    code=0
    wine "$exe" --render "tone$inc.wav" --increment "$inc" >/dev/null 2>&1 </dev/null || code=$?
    check_that "increment $inc: exit code $code" [ "$code" -eq 0 ]
    check_that "increment $inc: 2 s at 48 kHz, 96044 bytes" [ "$(stat -c %s "tone$inc.wav")" -eq 96044 ]
    expected=$(awk -v m="$inc" 'BEGIN { printf "%.4f", m * 48000 / 65536 }')
    peak=$(spectrum_peak "tone$inc.wav")
    check_that "increment $inc: sox's strongest frequency $peak Hz within 1 % of $expected Hz" \
        within_1_percent "${peak:-0}" "$expected"
    echo "    sox tone$inc.wav -n stat:"
    sox "tone$inc.wav" -n stat 2>&1 | grep -E "Samples read|Length|Rough" | sed 's/^/      /'
done
code=0
wine "$exe" --render short.wav --seconds 1 --clock 8001 --wave sqr >/dev/null 2>&1 </dev/null || code=$?
ok=false
[ "$code" -eq 0 ] && [ "$(stat -c %s short.wav)" -eq 8046 ] && ok=true
check_that "odd sample count: exit code $code, 44 + 8001 + pad bytes" "$ok"

echo "render failures"
code=0
wine "$exe" --render 'Z:\sys\x.csv' >/dev/null 2>err.txt </dev/null || code=$?
check_that "a folder that takes no file: exit code $code" [ "$code" -eq 2 ]
ok=false
[ "$(wc -l <err.txt)" -eq 1 ] && grep -qF 'Cannot write "Z:\sys\x.csv": ' err.txt && ok=true
check_that "one line on the standard error (a file): $(head -n 1 err.txt | tr -d '\r')" "$ok"
line=$(wine "$exe" --render out.csv --samples 0 2>&1 </dev/null | tr -d '\r')
code=${PIPESTATUS[0]}
ok=false
[ "$code" -eq 2 ] &&
    [ "$line" = 'Option --samples: the value "0" is out of range; accepted: 1 to 10000000' ] && ok=true
check_that "a bad render option through a pipe: exit code $code, \"$line\"" "$ok"
check_that "no file and no temporary file is left" [ -z "$(ls | grep -v -e '^tri' -e '^tone' -e '^short' -e '^err')" ]
check_that "no window was opened" [ -z "$(window_titled phasebox)" ]

# Starts the program with arguments $3...; expects one box titled phasebox and no main
# window, saves the box's picture as $out/$1.png, closes it with Enter and expects exit code $2.
expect_box_then_exit() {
    local picture="$1" expected="$2" box code=0
    shift 2
    wine "$exe" "$@" >/dev/null 2>&1 </dev/null &
    local app=$!
    phasebox_track "$app"
    if box=$(wait_titled phasebox 60 "$app"); then
        check_that "one box titled phasebox" true
        sleep 0.5
        import -window "$box" "$out/$picture.png"
        check_that "no main window" [ -z "$(window_titled "$PHASEBOX_WINDOW_TITLE")" ]
        xdotool key Return >/dev/null 2>&1
    else
        check_that "one box titled phasebox" false
    fi
    wait_exit "$app" 30 || code=$?
    check_that "exit code $code after the box is closed" [ "$code" -eq "$expected" ]
}

echo "a bad start option"
expect_box_then_exit bad-option 2 --wave tri --increment 70000 --run

echo "--help"
expect_box_then_exit help 0 /?

echo "a start with options"
wine "$exe" --wave sqr --increment 32768 --interval 100 --width 1000 --run >/dev/null 2>&1 </dev/null &
app=$!
phasebox_track "$app"
if id=$(phasebox_wait_window 60 "$app"); then
    check_that "the window appeared" true
    sleep 1.5
    import -window "$id" "$out/started.png"
    code=0
    phasebox_close_window "$id" "$app" || code=$?
    check_that "exit code $code after Alt+F4" [ "$code" -eq 0 ]
else
    check_that "the window appeared" false
fi

echo "output e2e: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
