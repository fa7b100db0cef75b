#!/usr/bin/env bash
# The declaration file through the real window: "telekado FILE.tkd" opens it and names it in the
# title; typing adds the "*", Ctrl+S saves and takes it away; "PDF-be mentés..." writes the PDF
# through the check window and the file dialog; "Kilépés" asks about unsaved changes, "Mégsem"
# stays and "Nem" ends with exit code 0, the file as last saved. A broken file at start-up shows its error over the
# untouched form, which then ends without a question.
PROGRAM=$1
OUT=$2
source "$(dirname "$0")/lib.sh"
mkdir -p "$OUT"

cat >"$E2E_TMP/kovacs.tkd" <<'EOF'
{"format": "telekado-bevallas", "version": 1,
 "fields": {"m1": "Kovács", "m27": "1500", "m28": "300"}, "choices": {"CtlRadioGroup1": 0}}
EOF

title_is() { [ "$(xdotool getwindowname "$W")" = "$1" ]; }
# The program's visible windows: a popup menu is one more.
visible_windows() { xdotool search --onlyvisible --pid "$APP_PID" 2>/dev/null | wc -l; }
file_has_name() { grep -qF "\"m1\": \"$1\"" "$E2E_TMP/kovacs.tkd"; }

start_xvfb 1280x2048x24
start_app env LANG=hu_HU.UTF-8 "$PROGRAM" "$E2E_TMP/kovacs.tkd"
W=$(wait_window "$MAIN_TITLE_RE")
wait_for 20 "the file's name in the title" title_is "$MAIN_TITLE - kovacs.tkd"
xdotool windowfocus --sync "$W"
find_form "$W"

# The end of the name field, where a click leaves the caret after the text.
click_at $((24 + 152 + 500)) $((80 + 28 + 10))
xdotool type --delay 30 ' Őrs'
wait_for 10 "the '*' of a changed form" title_is "$MAIN_TITLE - kovacs.tkd*"
xdotool key ctrl+s
wait_for 10 "the '*' to go after Ctrl+S" title_is "$MAIN_TITLE - kovacs.tkd"
file_has_name 'Kovács Őrs' || fail "the saved file lacks the name: $(cat "$E2E_TMP/kovacs.tkd")"

# "Fájl", then P for "PDF-be mentés...": the file chooses no option of section I, so
# "Ellenőrzés" comes first; Alt+N, "Nyomtatás így is", goes on to the dialog, which offers
# kovacs.pdf beside the file.
before=$(visible_windows)
click_menu "$W" "$MENU_FILE_X"
wait_for 10 "the Fájl menu to open" eval '[ "$(visible_windows)" -gt "$before" ]'
xdotool key p
C=$(wait_window '^Ellen')
xdotool windowfocus --sync "$C" key alt+n
D=$(wait_window '^PDF-be ment')
sleep 0.5
xdotool windowfocus --sync "$D" key Return
wait_for 20 "kovacs.pdf" test -s "$E2E_TMP/kovacs.pdf"
wait_for 10 "the file dialog to close" no_window '^PDF-be ment'
text=$(pdftotext -layout "$E2E_TMP/kovacs.pdf" -)
for want in 'Kovács Őrs' '1500' '1200' '250.800 Ft.' '(tulajdonjog szerzés)'; do
  grep -qF "$want" <<<"$text" || fail "the PDF lacks '$want'"
done
pdfinfo "$E2E_TMP/kovacs.pdf" | grep -q '^Pages: *2$' || fail "the PDF is not 2 pages"
cp "$E2E_TMP/kovacs.pdf" "$OUT/draft-kovacs.pdf"

# A change not to be kept: "Kilépés" asks; Esc is "Mégsem" and the program stays.
xdotool windowfocus --sync "$W"
click_at $((24 + 152 + 500)) $((80 + 28 + 10))
xdotool type --delay 30 ' Tűzkő'
wait_for 10 "the '*' of a changed form" title_is "$MAIN_TITLE - kovacs.tkd*"
click_menu "$W" "$MENU_EXIT_X"
Q=$(wait_window '^telekado$')
import -window root "$OUT/draft-question.png"
close_with_escape "$Q" '^telekado$' "the question"
kill -0 "$APP_PID" || fail "Mégsem ended the program"
title_is "$MAIN_TITLE - kovacs.tkd*" || fail "the title lost its '*' after Mégsem"
# "Nem", one Tab after the default "Igen", ends with exit code 0 and leaves the file as saved.
click_menu "$W" "$MENU_EXIT_X"
Q=$(wait_window '^telekado$')
xdotool windowfocus --sync "$Q" key Tab space
wait_exit "$APP_PID" 10
rc=$EXIT_RC
[ "$rc" = 0 ] || fail "Nem: exit code $rc"
file_has_name 'Kovács Őrs' || fail "Nem changed the file: $(cat "$E2E_TMP/kovacs.tkd")"

# A broken file: its error over the untouched form, which ends at once.
printf '{"format": "telekado-bevallas", "version": 7}' >"$E2E_TMP/ujabb.tkd"
start_app env LANG=hu_HU.UTF-8 "$PROGRAM" "$E2E_TMP/ujabb.tkd"
W=$(wait_window "$MAIN_TITLE_RE")
E=$(wait_window '^telekado$')
import -window root "$OUT/draft-error.png"
xdotool windowfocus --sync "$E" key Return
wait_for 10 "the error box to close" no_window '^telekado$'
title_is "$MAIN_TITLE" || fail "the title after a broken file is '$(xdotool getwindowname "$W")'"
exit_through_menu "$W" 5
echo "opened, saved, written as PDF and ended after the question; screenshots in $OUT"
