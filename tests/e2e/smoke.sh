#!/usr/bin/env bash
# End-to-end check of the real program: phasebox.exe under Wine on the X display, at 120
# and 96 dpi. The window must appear at its laid-out size with its panels' colours on
# screen, and close with exit code 0. Screenshots are left in build/e2e/ to look at.
# Expects DISPLAY and the Wine prefixes of scripts/lib/common.sh with their servers running.
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/lib/common.sh"

exe="$PHASEBOX_ROOT/build/win/phasebox.exe"
out="$PHASEBOX_ROOT/build/e2e"
mkdir -p "$out"
passed=0
failed=0

check() {
    if [ "$1" = ok ]; then
        passed=$((passed + 1))
        echo "  ok: $2"
    else
        failed=$((failed + 1))
        echo "  FAILED: $2"
    fi
}

# Fraction of the screenshot's pixels that have exactly colour $2.
colour_share() {
    convert "$1" -fill black +opaque "$2" -fill white -opaque "$2" -format '%[fx:mean]' info:
}

run_at() {
    local dpi="$1" client_w="$2" client_h="$3"
    local shot="$out/window-$dpi.png"
    echo "phasebox.exe at $dpi dpi"
    export WINEPREFIX="$PHASEBOX_WINE_ROOT/dpi$dpi"
    wine "$exe" >/dev/null 2>&1 &
    local app=$!
    local id=""
    for _ in $(seq 1 150); do
        id=$(xdotool search --name '^Velkamo DDS simulator$' 2>/dev/null | head -1)
        [ -n "$id" ] && break
        sleep 0.1
    done
    [ -n "$id" ] && check ok "the window appeared" || check fail "the window appeared"
    if [ -z "$id" ]; then
        kill "$app" 2>/dev/null
        return
    fi
    sleep 1.5
    import -window root "$shot"

    # Wine draws the frame itself: 4 px on the left, right and bottom, 28 px on top at
    # 120 dpi; the frame's size depends on the density, so allow for it.
    local w h
    w=$(xwininfo -id "$id" | awk '/Width:/ {print $2}')
    h=$(xwininfo -id "$id" | awk '/Height:/ {print $2}')
    local fw=$((w - client_w)) fh=$((h - client_h))
    if [ "$fw" -ge 0 ] && [ "$fw" -le 16 ] && [ "$fh" -ge 15 ] && [ "$fh" -le 50 ]; then
        check ok "outer size ${w}x${h} fits a ${client_w}x${client_h} client area"
    else
        check fail "outer size ${w}x${h} does not fit a ${client_w}x${client_h} client area"
    fi

    # The accumulator panel's yellow, the byte displays' sky blue and the start box's
    # fuchsia are on screen, in about the shares their areas give.
    local share
    for colour in "rgb(255,255,200)" "rgb(166,202,240)" "rgb(255,0,255)"; do
        share=$(colour_share "$shot" "$colour")
        if awk -v s="$share" 'BEGIN { exit !(s > 0.0005) }'; then
            check ok "$colour shows ($share of the screen)"
        else
            check fail "$colour shows ($share of the screen)"
        fi
    done

    if [ "$dpi" = 120 ]; then
        # The generator runs: after a click on "START DDS!" the high-byte display changes.
        # Client coordinates at 120 dpi; Wine's frame puts the client area 4 px right and
        # 28 px below the window's corner.
        local wx wy
        wx=$(xwininfo -id "$id" | awk '/Absolute upper-left X:/ {print $4}')
        wy=$(xwininfo -id "$id" | awk '/Absolute upper-left Y:/ {print $4}')
        local cx=$((wx + 4)) cy=$((wy + 28))
        local display_area="97x52+$((cx + 27))+$((cy + 100))"
        import -window root -crop "$display_area" "$out/display-before.png"
        xdotool mousemove $((cx + 308)) $((cy + 56)) click 1
        sleep 1.5
        import -window root -crop "$display_area" "$out/display-after.png"
        import -window root "$out/running-$dpi.png"
        local changed
        changed=$(compare -metric AE "$out/display-before.png" "$out/display-after.png" null: 2>&1)
        if [ "${changed%% *}" -gt 0 ] 2>/dev/null; then
            check ok "the byte display counts after START DDS! ($changed pixels changed)"
        else
            check fail "the byte display counts after START DDS! ($changed pixels changed)"
        fi
    fi

    # Closing the window ends the program with exit code 0, at 120 dpi while it runs.
    xdotool mousemove --window "$id" 600 20 click 1 >/dev/null 2>&1
    xdotool key --clearmodifiers alt+F4
    local code=1
    for _ in $(seq 1 100); do
        if ! kill -0 "$app" 2>/dev/null; then
            wait "$app"
            code=$?
            break
        fi
        sleep 0.1
    done
    if kill -0 "$app" 2>/dev/null; then
        kill "$app" 2>/dev/null
        check fail "the program ended after Alt+F4"
    else
        [ "$code" -eq 0 ] && check ok "exit code 0" || check fail "exit code $code"
    fi
}

run_at 120 1177 714
run_at 96 942 571
echo "e2e: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
