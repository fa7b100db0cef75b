#!/usr/bin/env bash
# The program starts, its main window fills the work area (a screen taller than the form, so the
# screenshot shows the whole window), and "Kilépés" ends it with code 0.
PROGRAM=$1
OUT=$2
source "$(dirname "$0")/lib.sh"
mkdir -p "$OUT"

start_xvfb 1280x2048x24
start_app env LANG=hu_HU.UTF-8 "$PROGRAM"
W=$(wait_window "$MAIN_TITLE_RE")

title=$(xdotool getwindowname "$W")
[ "$title" = "$MAIN_TITLE" ] || fail "title is '$title'"

# No window manager here: the work area is the whole screen.
geometry=$(xwininfo -id "$W")
width=$(sed -n 's/^ *Width: //p' <<<"$geometry")
height=$(sed -n 's/^ *Height: //p' <<<"$geometry")
[ "$width" = 1280 ] && [ "$height" = 2048 ] || fail "window is ${width}x${height}, not 1280x2048"

sleep 0.3 # let the first paint land before the screenshot
import -window root "$OUT/startup.png"
[ -s "$OUT/startup.png" ] || fail "no screenshot"

# "Kitöltési útmutató" opens the guide; Esc closes it.
click_menu "$W" "$MENU_GUIDE_X"
G=$(wait_window '^Kit')
sleep 0.3
import -window root "$OUT/guide.png"
close_with_escape "$G" '^Kit' "the guide window"

# "Kilépés" is the last item of the menu bar at the window's top edge.
xdotool mousemove --window "$W" "$MENU_EXIT_X" 8
start=$(date +%s%N)
xdotool click 1
wait_exit "$APP_PID" 1
rc=$EXIT_RC
elapsed=$(( ($(date +%s%N) - start) / 1000000 ))
[ "$rc" = 0 ] || fail "exit code $rc"
echo "ended with exit code 0 after ${elapsed} ms; screenshot in $OUT/startup.png"
