#!/usr/bin/env bash
# Under a real window manager (openbox): the main window, frame included, fills the work area and
# is put back there after a move, a resize and a change of the work area; the preview opens
# maximized after the checks' window, which stands centred over the main window; the print dialog
# centred over the preview; the guide window lies wholly on the screen;
# "Kilépés" ends the program with exit code 0.
PROGRAM=$1
OUT=$2
source "$(dirname "$0")/lib.sh"
mkdir -p "$OUT"

start_xvfb 1280x1024x24
start_openbox
start_app env LANG=hu_HU.UTF-8 "$PROGRAM"
W=$(wait_window "$MAIN_TITLE_RE")

# Notes the last frame seen, for the failure's message.
frame_fills_work_area() {
  local frame
  frame=$(frame_of "$W")
  echo "$frame" >"$E2E_TMP/last-frame"
  [ "$frame" = "$(work_area)" ]
}
frame_is() { [ "$(frame_of "$1")" = "$2" ]; }

wait_for 10 "the main window's frame to fill the work area ($(work_area))" frame_fills_work_area
xprop -id "$W" _NET_WM_WINDOW_TYPE | grep -q '_NET_WM_WINDOW_TYPE_NORMAL' || fail "not an ordinary window"
if xprop -id "$W" _NET_WM_STATE | grep -q 'SKIP_TASKBAR'; then fail "the main window left the task bar"; fi

# The program is held while the window manager carries out the move, so the move is seen to
# happen before the program puts the window back.
moved_away() {
  local what=$1
  shift
  kill -STOP "$APP_PID"
  "$@"
  wait_for 10 "the window manager to carry out the $what" eval '! frame_fills_work_area'
  kill -CONT "$APP_PID"
  wait_for 10 "the main window to return to the work area after the $what" frame_fills_work_area
}
moved_away move xdotool windowmove "$W" 120 90
moved_away resize xdotool windowsize "$W" 640 480

# A dock-like strut at the bottom shrinks the work area; the window follows it there and back.
xmessage -geometry 200x40+540+480 strut >/dev/null 2>&1 &
STRUT_PID=$!
E2E_PIDS+=($STRUT_PID)
S=$(wait_window '^xmessage$')
full=$(work_area)
xprop -id "$S" -f _NET_WM_STRUT 32c -set _NET_WM_STRUT 0,0,0,60
wait_for 10 "the work area to shrink" eval '[ "$(work_area)" != "$full" ]'
[ "$(work_area)" = "0 0 1280 964" ] || fail "unexpected work area $(work_area)"
wait_for 10 "the main window to follow the smaller work area" frame_fills_work_area
xprop -id "$S" -f _NET_WM_STRUT 32c -set _NET_WM_STRUT 0,0,0,0
wait_for 10 "the work area to grow back" eval '[ "$(work_area)" = "$full" ]'
wait_for 10 "the main window to follow the work area back" frame_fills_work_area
kill "$STRUT_PID"
wait_for 10 "the strut window to go" no_window '^xmessage$'
import -window root "$OUT/desktop.png"

# Whether the frame of window $1 stands centred over the rectangle $2 ("x y width height"). A
# dialog's frame is not known before it is first shown and is estimated from its owner's, so a
# few pixels of difference are allowed.
centred_over() {
  local x y w h ox oy ow oh
  read -r x y w h <<<"$(frame_of "$1")"
  read -r ox oy ow oh <<<"$2"
  local dx=$(( (2 * x + w) - (2 * ox + ow) )) dy=$(( (2 * y + h) - (2 * oy + oh) ))
  [ "${dx#-}" -le 6 ] && [ "${dy#-}" -le 8 ]
}

# "Nyomtatás" checks the untouched form first: "Ellenőrzés" opens centred
# over the main window; "Nyomtatás így is" (Alt+N) goes on to the preview, maximized.
click_menu "$W" "$MENU_PRINT_X"
C=$(wait_window '^Ellen')
wait_for 10 "\"Ellenőrzés\" at $(frame_of "$C") to stand centred over the main window at $(frame_of "$W")" \
  centred_over "$C" "$(frame_of "$W")"
import -window root "$OUT/desktop-checks.png"
xdotool windowfocus --sync "$C" key alt+n
P=$(wait_window '^El.*k.*p$')
no_window '^Ellen' || fail "\"Ellenőrzés\" stayed open under the preview"
maximized() {
  local state
  state=$(xprop -id "$P" _NET_WM_STATE)
  { grep -q '_NET_WM_STATE_MAXIMIZED_VERT' <<<"$state" && grep -q '_NET_WM_STATE_MAXIMIZED_HORZ' <<<"$state"; } \
    || frame_is "$P" "$(work_area)"
}
wait_for 10 "the preview to be maximized" maximized
wait_for 10 "the preview to fill the work area" frame_is "$P" "$(work_area)"

# Ctrl+P opens the print dialog centred over the preview. It shows only when there is a printer.
if LC_ALL=C lpstat -d 2>/dev/null | grep -q '^system default destination:'; then
  xdotool windowfocus --sync "$P" key ctrl+p
  D=$(wait_window '^Nyomtat$')
  wait_for 10 "the print dialog at $(frame_of "$D") to stand centred over the preview at $(frame_of "$P")" \
    centred_over "$D" "$(frame_of "$P")"
  import -window root "$OUT/desktop-print-dialog.png"
  close_with_escape "$D" '^Nyomtat$' "the print dialog"
else
  echo "no default printer: the print dialog's placement is not checked"
fi
close_with_escape "$P" '^El.*k.*p$' "the preview"

# "Kitöltési útmutató" opens the guide centred on the screen, wholly inside it.
click_menu "$W" "$MENU_GUIDE_X"
G=$(wait_window '^Kit')
wait_for 10 "the guide window at $(frame_of "$G") to stand centred on the screen" centred_over "$G" "0 0 1280 1024"
read -r gx gy gw gh <<<"$(frame_of "$G")"
[ "$gx" -ge 0 ] && [ "$gy" -ge 0 ] && [ $((gx + gw)) -le 1280 ] && [ $((gy + gh)) -le 1024 ] \
  || fail "the guide window at $gx $gy ${gw}x$gh is not wholly on the screen"
import -window root "$OUT/desktop-guide.png"
close_with_escape "$G" '^Kit' "the guide"

# "Kilépés" ends the untouched form's program at once with exit code 0.
exit_through_menu "$W" 10
echo "main window on the work area, preview maximized, dialogs centred; exit code 0; screenshots in $OUT"
