#!/usr/bin/env bash
# End-to-end check of the real program, run by CTest (label e2e):
#   smoke.sh window DPI  phasebox.exe ($PHASEBOX_EXE) under Wine in the seat of density DPI
#                        (120 or 96): the window appears at its laid-out size with its
#                        panels' colours on screen, draws its captions with the prefix's
#                        Tahoma and its caption buttons with Marlett, counts after a click on
#                        "START DDS!" (at 120 dpi) and closes with exit code 0.
#   smoke.sh run         scripts/run, started without a display, saves a screenshot of the
#                        window and exits with 0.
# Stops at the first check that fails, naming it. Screenshots are left in build/e2e/.
set -uo pipefail
# shellcheck source=scripts/lib/common.sh
source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/lib/common.sh"
trap phasebox_cleanup EXIT

exe="${PHASEBOX_EXE:-$PHASEBOX_ROOT/build/win/phasebox.exe}"
out="$PHASEBOX_ROOT/build/e2e"
mkdir -p "$out"

# Fraction of the picture's pixels that have exactly colour $2.
colour_share() {
    convert "$1" -fill black +opaque "$2" -fill white -opaque "$2" -format '%[fx:mean]' info:
}

# The panels' colours show in picture $1: the accumulator panel's yellow, the byte displays'
# sky blue and the start box's fuchsia, each in at least the share its area gives.
check_colours() {
    local colour share
    for colour in "rgb(255,255,200)" "rgb(166,202,240)" "rgb(255,0,255)"; do
        share=$(colour_share "$1" "$colour")
        awk -v s="$share" 'BEGIN { exit !(s > 0.0005) }' ||
            phasebox_fail "$colour shows in ${1##*/}: only $share of the picture, 0.0005 wanted"
    done
}

# The outer size $1 x $2 fits a client area of $3 x $4 inside the frame Wine draws itself
# (4 px on the left, right and bottom and 28 px on top at 120 dpi; the frame's size depends
# on the density, so allow for it).
frame_fits() {
    local fw=$(($1 - $3)) fh=$(($2 - $4))
    [ "$fw" -ge 0 ] && [ "$fw" -le 16 ] && [ "$fh" -ge 15 ] && [ "$fh" -le 50 ]
}

# Width in pixels of the dark ink in picture $1 (after cropping to geometry $2, if given).
ink_width() {
    local crop=()
    [ -n "${2:-}" ] && crop=(-crop "$2" +repage)
    convert "$1" "${crop[@]}" -colorspace gray -threshold 50% -trim -format '%w' info: 2>/dev/null
}

# Width of the widest of lines $3... when font file $1 draws them $2 px high, black on white.
rendered_width() {
    local font="$1" px="$2" widest=0 line w
    shift 2
    for line in "$@"; do
        w=$(convert -size 800x100 xc:white -font "$font" -density 72 -pointsize "$px" \
            -fill black -annotate +20+60 "$line" -colorspace gray -threshold 50% -trim \
            -format '%w' info:)
        [ "$w" -gt "$widest" ] && widest="$w"
    done
    echo "$widest"
}

# "WxH+X+Y" of the left-most dark shape in the right eighth of the caption band of window
# picture $1, which is $2 px wide with a caption band $3 px tall. That is the minimise
# button's glyph: in Marlett a flat bar, in any text font the digit "0" (Wine draws the
# buttons' glyphs as the characters 0, 1 and r in Marlett).
minimise_glyph() {
    local band_w=$(($2 / 8))
    convert "$1" -crop "${band_w}x$3+$(($2 - band_w))+0" +repage -colorspace gray \
        -threshold 30% -define connected-components:verbose=true -connected-components 8 \
        null: 2>/dev/null |
        awk '$NF ~ /\(0(,0,0)?\)$/ { split($2, g, /[x+]/); print g[3], $2 }' |
        sort -n | head -n 1 | cut -d' ' -f2
}

is_flat_bar() {
    local w="${1%%x*}" rest="${1#*x}"
    local h="${rest%%+*}"
    [ -n "$1" ] && [ "$w" -ge 4 ] && [ "$w" -ge $((3 * h)) ]
}

# The window at density $1, laid out for a client area of $2 x $3.
window_at() {
    local dpi="$1" client_w="$2" client_h="$3"
    local shot="$out/window-$dpi.png"
    echo "phasebox.exe at $dpi dpi"
    phasebox_fixture_seat || exit 1
    wine "$exe" >/dev/null 2>&1 </dev/null &
    local app=$!
    phasebox_track "$app"
    local id
    id=$(phasebox_wait_window 60 "$app") || phasebox_fail "the window did not appear"
    sleep 1.5
    import -window "$id" "$shot"

    local w h
    w=$(xwininfo -id "$id" | awk '/Width:/ {print $2}')
    h=$(xwininfo -id "$id" | awk '/Height:/ {print $2}')
    frame_fits "$w" "$h" "$client_w" "$client_h" ||
        phasebox_fail "the outer size ${w}x${h} does not fit a ${client_w}x${client_h} client area"
    # The frame is as wide on the left as on the right and at the bottom; the rest of its
    # height is the caption band on top.
    local border=$(((w - client_w) / 2))
    local top=$((h - client_h - border))

    check_colours "$shot"

    # Marlett draws the caption buttons (a missing Marlett shows "0 1 r" in a text font).
    local glyph
    glyph=$(minimise_glyph "$shot" "$w" "$top")
    is_flat_bar "$glyph" ||
        phasebox_fail "the minimise button does not show Marlett's bar (dark shape ${glyph:-none})"

    if [ "$dpi" = 120 ]; then
        # outputLabel's lines (20 px bold) are drawn in the prefix's Tahoma Bold: the widest one is
        # as wide as that font file draws it, where the fallback Liberation Sans Bold is 11 px
        # narrower. outputLabel lies at (811, 47) in the client area, 167 x 120.
        local lines=("Вывод волны " "на график или" "ЦАП" "--------------->>" "кликни стрелку")
        local seen tahoma fallback="?" file
        seen=$(ink_width "$shot" "167x120+$((border + 811))+$((top + 47))")
        tahoma=$(rendered_width "$PHASEBOX_WINE_FONTS/tahomabd.ttf" 20 "${lines[@]}")
        file=$(fc-match -f '%{file}' 'Liberation Sans:bold' 2>/dev/null) && [ -f "$file" ] &&
            fallback=$(rendered_width "$file" 20 "${lines[@]}")
        awk -v s="$seen" -v t="$tahoma" 'BEGIN { exit !(s - t <= 3 && t - s <= 3) }' ||
            phasebox_fail "outputLabel is not drawn in Tahoma Bold: $seen px wide, Tahoma Bold $tahoma px, Liberation Sans Bold $fallback px"

        # The generator runs: after a click on "START DDS!" the high-byte display changes.
        # Client coordinates at 120 dpi.
        local wx wy
        wx=$(xwininfo -id "$id" | awk '/Absolute upper-left X:/ {print $4}')
        wy=$(xwininfo -id "$id" | awk '/Absolute upper-left Y:/ {print $4}')
        local cx=$((wx + border)) cy=$((wy + top))
        local display_area="97x52+$((cx + 27))+$((cy + 100))"
        import -window root -crop "$display_area" "$out/display-before.png"
        xdotool mousemove $((cx + 308)) $((cy + 56)) click 1
        sleep 1.5
        import -window root -crop "$display_area" "$out/display-after.png"
        import -window "$id" "$out/running-$dpi.png"
        local changed
        changed=$(compare -metric AE "$out/display-before.png" "$out/display-after.png" null: 2>&1)
        [ "${changed%% *}" -gt 0 ] ||
            phasebox_fail "the byte display did not count after START DDS! ($changed pixels changed)"
    fi

    # Closing the window ends the program with exit code 0, at 120 dpi while it runs.
    local code=0
    phasebox_close_window "$id" "$app" || code=$?
    [ "$code" -eq 0 ] || phasebox_fail "exit code $code after Alt+F4, 0 wanted"
    echo "phasebox.exe at $dpi dpi: every check passed"
}

# scripts/run without a display (the README's first command on a machine with none): exit
# code 0, a message naming the screenshot, and a PNG of the whole window, frame included.
run_script_headless() {
    echo "scripts/run without a display"
    local shot="$PHASEBOX_ROOT/build/screenshot.png" log="$out/run.log" code=0
    touch "$out/run.started"
    env -u DISPLAY "$PHASEBOX_ROOT/scripts/run" >"$log" 2>&1 </dev/null || code=$?
    if [ "$code" -ne 0 ]; then
        sed 's/^/    /' "$log"
        phasebox_fail "scripts/run ended with exit code $code, 0 wanted"
    fi
    grep -qF "saved to $shot" "$log" || phasebox_fail "scripts/run did not say where the screenshot is"
    [ "$shot" -nt "$out/run.started" ] || phasebox_fail "build/screenshot.png was not written by this run"
    local format w h
    read -r format w h < <(identify -format '%m %w %h\n' "$shot" 2>/dev/null) || true
    [ "${format:-}" = PNG ] || phasebox_fail "build/screenshot.png is not a PNG (${format:-none})"
    frame_fits "${w:-0}" "${h:-0}" 1177 714 ||
        phasebox_fail "the screenshot is ${w:-0}x${h:-0}, not the window of a 1177x714 client area"
    check_colours "$shot"
    echo "scripts/run without a display: every check passed"
}

case "${1:-}" in
    window)
        case "${2:-}" in
            120) window_at 120 1177 714 ;;
            96) window_at 96 942 571 ;;
            *) phasebox_fail "no window check at ${2:-no} dpi (120 or 96)" ;;
        esac ;;
    run) run_script_headless ;;
    *) phasebox_log "usage: smoke.sh window 120|96 | run"; exit 2 ;;
esac
