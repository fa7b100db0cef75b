#!/usr/bin/env bash
# On an English desktop under a real window manager, Qt's own windows speak Hungarian too, and
# Alt with the marked letter answers the question before ending: a text field's context menu
# (the menu key), "Menti a bevallás változásait?" answered with Alt+M (stays) and Alt+I, whose
# save dialog saves the file, after which the program ends with exit code 0. Screenshots of the
# menu, the question and the save dialog are kept for a person to look at.
PROGRAM=$1
OUT=$2
source "$(dirname "$0")/lib.sh"
mkdir -p "$OUT"

keys() { xdotool key --delay 40 "$@"; }
question_open() { xdotool search --onlyvisible --name '^telekado$' >/dev/null 2>&1; }
# The program's visible windows: a popup menu is one more.
visible_windows() { xdotool search --onlyvisible --pid "$APP_PID" 2>/dev/null | wc -l; }

start_xvfb 1280x1024x24
start_openbox
start_app env LANG=C.UTF-8 LC_ALL=C.UTF-8 "$PROGRAM"
W=$(wait_window "$MAIN_TITLE_RE")
xdotool windowactivate --sync "$W"
sleep 0.5

# Tab reaches section I's panel, then the taxpayer's name.
keys Tab Tab
xdotool type --delay 30 'Kovacs Ors'
before=$(visible_windows)
keys Menu
wait_for 10 "the name field's context menu" eval '[ "$(visible_windows)" -gt "$before" ]'
sleep 0.3
import -window root "$OUT/hungarian-context-menu.png"
keys Escape
wait_for 10 "the context menu to close" eval '[ "$(visible_windows)" -eq "$before" ]'

# Alt+L, "Kilépés", asks; Alt+M, "Mégsem", stays.
keys alt+l
Q=$(wait_window '^telekado$')
sleep 0.3
import -window root "$OUT/hungarian-question.png"
xdotool windowactivate --sync "$Q" key alt+m
wait_for 10 "the question to close after Alt+M" eval '! question_open'
kill -0 "$APP_PID" 2>/dev/null || fail "Alt+M (Mégsem) ended the program"

# Alt+I, "Igen", on a form without a file asks for its name in the save dialog.
xdotool windowactivate --sync "$W"
keys alt+l
Q=$(wait_window '^telekado$')
xdotool windowactivate --sync "$Q" key alt+i
D=$(wait_window '^Ment')
sleep 0.5
import -window root "$OUT/hungarian-save-dialog.png"
echo "the save dialog on an English desktop: $OUT/hungarian-save-dialog.png"
# The name field has the focus with the suggested name selected.
xdotool windowactivate --sync "$D"
xdotool type --delay 20 "$E2E_TMP/kovacs.tkd"
keys Return
wait_exit "$APP_PID" 20
[ "$EXIT_RC" = 0 ] || fail "saving through Alt+I: exit code $EXIT_RC"
grep -qF '"m1": "Kovacs Ors"' "$E2E_TMP/kovacs.tkd" || fail "the saved file lacks the name: $(cat "$E2E_TMP/kovacs.tkd" 2>&1)"
echo "context menu, question and save dialog in $OUT/hungarian-*.png; Alt+M stayed, Alt+I saved, exit code 0"
