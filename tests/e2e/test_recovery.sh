#!/usr/bin/env bash
# Nothing typed is lost when the program is killed. A form filled by keyboard (a name, a tax
# number, two areas, two options) gets its recovery copy within seconds; after kill -9 the next
# start asks, "Visszaállítás" brings every value, both choices and the computed tax back with "*"
# in the title, and Ctrl+S saves what was typed. SIGTERM writes the copy itself and ends with
# exit code 0 without a question. A file opened and edited comes back under its name. Of two
# programs typing at once, the survivor's copy stays untouched and the killed one's is offered.
# A file open in one program is not opened in a second one without telling.
PROGRAM=$1
OUT=$2
source "$(dirname "$0")/lib.sh"
mkdir -p "$OUT"

REC=$XDG_DATA_HOME/telekado/recovery

keys() { xdotool key --delay 40 "$@"; }
tabs() { local i; for ((i = 0; i < $1; i++)); do keys Tab; done; }
title_is() { [ "$(xdotool getwindowname "$W")" = "$1" ]; }
copies() { ls "$REC"/*.tkr 2>/dev/null || true; }
# Some copy holds every string given.
copy_holds() {
  local c want
  for c in $(copies); do
    for want in "$@"; do grep -qF -- "$want" "$c" || continue 2; done
    return 0
  done
  return 1
}
no_copies() { [ -z "$(copies)" ]; }
# The main window of process $1.
window_of() {
  local w
  w=$(xdotool search --all --onlyvisible --pid "$1" --name "$MAIN_TITLE_RE" 2>/dev/null | sed -n 1p) && [ -n "$w" ] && echo "$w"
}

# The keyboard's way through the form, as a user fills it: name, tax number, tax id, "a." and
# "b.", then "jogi személy" and "bérlő".
fill_form() {
  xdotool windowfocus --sync "$W"
  sleep 0.3
  tabs 2
  xdotool type --delay 30 "$1"
  tabs 2
  keys Home
  xdotool type --delay 30 '15789934-2-51'
  tabs 26
  xdotool type --delay 30 '1500'
  tabs 1
  xdotool type --delay 30 '300'
  tabs 1
  keys alt+a Right Right
  keys alt+h Right Right Right Right
}
TYPED=('"m3": "15789934-2-51"' '"m27": "1500"' '"m28": "300"' '"CtlRadioGroup5": 2' '"CtlRadioGroup6": 4')

# The question about recovered work; its text names the file (or none). Answered with Enter,
# "Visszaállítás".
restore_at_start() {
  Q=$(wait_window '^telekado$')
  import -window root "$OUT/recovery-$1.png"
  xdotool windowfocus --sync "$Q" key Return
  wait_for 10 "the question to close" no_window '^telekado$'
}

# Ctrl+S on an untitled form: the dialog, the name, Enter; the file must hold what was typed.
save_as() {
  xdotool windowfocus --sync "$W" key ctrl+s
  local S
  S=$(wait_window '^Ment')
  sleep 0.5
  xdotool windowfocus --sync "$S" type --delay 20 "$E2E_TMP/$1"
  keys Return
  wait_for 20 "the saved declaration" test -s "$E2E_TMP/$1.tkd"
}
file_holds() {
  local file=$1 want
  shift
  for want in "$@"; do
    grep -qF -- "$want" "$file" || fail "$file lacks $want: $(cat "$file")"
  done
}

start_xvfb 1280x2048x24

# 1. kill -9 on an untitled form.
start_app env LANG=hu_HU.UTF-8 "$PROGRAM"
W=$(wait_window "$MAIN_TITLE_RE")
fill_form 'Kovács Őrs'
wait_for 20 "the recovery copy" copy_holds '"m1": "Kovács Őrs"' "${TYPED[@]}"
[ "$(stat -c %a "$REC")" = 700 ] || fail "the recovery folder is open to others: $(stat -c %a "$REC")"
kill -9 "$APP_PID"
wait_exit "$APP_PID" 10

start_app env LANG=hu_HU.UTF-8 "$PROGRAM"
W=$(wait_window "$MAIN_TITLE_RE")
restore_at_start killed
wait_for 10 "the '*' of restored work" title_is "$MAIN_TITLE*"
# The computed tax is on the form: the PDF shows the form's computed labels.
click_menu "$W" "$MENU_FILE_X"
sleep 0.5
keys p
D=$(wait_window '^PDF-be ment')
sleep 0.5
xdotool windowfocus --sync "$D" type --delay 20 "$E2E_TMP/visszaallitott.pdf"
keys Return
wait_for 20 "the PDF" test -s "$E2E_TMP/visszaallitott.pdf"
wait_for 10 "the file dialog to close" no_window '^PDF-be ment'
text=$(pdftotext -layout "$E2E_TMP/visszaallitott.pdf" -)
for want in 'Kovács' '15789934-2-51' '1500' '1200' '250.800 Ft.' ; do
  grep -qF "$want" <<<"$text" || fail "the restored form's PDF lacks '$want'"
done
save_as visszaallitott
file_holds "$E2E_TMP/visszaallitott.tkd" '"m1": "Kovács Őrs"' "${TYPED[@]}"
wait_for 10 "the '*' to go after saving" title_is "$MAIN_TITLE - visszaallitott.tkd"
wait_for 10 "the copy to go after saving" no_copies
xdotool windowfocus --sync "$W" key alt+l
wait_exit "$APP_PID" 10
[ "$EXIT_RC" = 0 ] || fail "exit code $EXIT_RC"

# 2. SIGTERM right after the last key: the copy is written by the signal, no question is asked.
start_app env LANG=hu_HU.UTF-8 "$PROGRAM"
W=$(wait_window "$MAIN_TITLE_RE")
no_copies || fail "a copy without changes: $(copies)"
fill_form 'Tűzkő Ödön'
kill -TERM "$APP_PID"
wait_exit "$APP_PID" 10
[ "$EXIT_RC" = 0 ] || fail "SIGTERM: exit code $EXIT_RC"
copy_holds '"m1": "Tűzkő Ödön"' "${TYPED[@]}" || fail "SIGTERM left no whole copy: $(cat $(copies))"
start_app env LANG=hu_HU.UTF-8 "$PROGRAM"
W=$(wait_window "$MAIN_TITLE_RE")
restore_at_start terminated
wait_for 10 "the '*' of restored work" title_is "$MAIN_TITLE*"
save_as terminated
file_holds "$E2E_TMP/terminated.tkd" '"m1": "Tűzkő Ödön"' "${TYPED[@]}"
xdotool windowfocus --sync "$W" key alt+l
wait_exit "$APP_PID" 10

# 3. An opened file, edited, killed: it comes back under the file's name, and Ctrl+S saves into it.
cat >"$E2E_TMP/kovacs.tkd" <<'EOF'
{"format": "telekado-bevallas", "version": 1,
 "fields": {"m1": "Kovács", "m27": "1500", "m28": "300"}, "choices": {"CtlRadioGroup1": 0}}
EOF
start_app env LANG=hu_HU.UTF-8 "$PROGRAM" "$E2E_TMP/kovacs.tkd"
W=$(wait_window "$MAIN_TITLE_RE")
wait_for 20 "the file's name in the title" title_is "$MAIN_TITLE - kovacs.tkd"
xdotool windowfocus --sync "$W"
find_form "$W"
click_at $((24 + 152 + 500)) $((80 + 28 + 10))
xdotool type --delay 30 ' Őrs'
wait_for 20 "the recovery copy of the file" copy_holds '"m1": "Kovács Őrs"' "kovacs.tkd"
kill -9 "$APP_PID"
wait_exit "$APP_PID" 10
start_app env LANG=hu_HU.UTF-8 "$PROGRAM"
W=$(wait_window "$MAIN_TITLE_RE")
restore_at_start opened-file
wait_for 10 "the file's name and '*'" title_is "$MAIN_TITLE - kovacs.tkd*"
xdotool windowfocus --sync "$W" key ctrl+s
wait_for 10 "the '*' to go after Ctrl+S" title_is "$MAIN_TITLE - kovacs.tkd"
file_holds "$E2E_TMP/kovacs.tkd" '"m1": "Kovács Őrs"' '"m27": "1500"'
xdotool windowfocus --sync "$W" key alt+l
wait_exit "$APP_PID" 10
no_copies || fail "copies after a clean end: $(copies)"

# 4. Two programs typing at once; one killed. The survivor's copy is untouched, the dead one's
# is offered to the next start (and only that one: the survivor's is alive).
start_app env LANG=hu_HU.UTF-8 "$PROGRAM"
A=$APP_PID
wait_for 30 "the first window" window_of "$A"
W=$(window_of "$A")
fill_form 'Első Anna'
start_app env LANG=hu_HU.UTF-8 "$PROGRAM"
B=$APP_PID
wait_for 30 "the second window" window_of "$B"
W=$(window_of "$B")
fill_form 'Második Béla'
both_copies() { copy_holds '"m1": "Első Anna"' "${TYPED[@]}" && copy_holds '"m1": "Második Béla"' "${TYPED[@]}"; }
until_both=$((SECONDS + 20))
until both_copies; do
  [ $SECONDS -le $until_both ] || { import -window root "$OUT/recovery-two-failed.png"; fail "not both copies: $(grep -h "\"m1\"" $(copies))"; }
  sleep 0.1
done
survivor=$(grep -lF 'Második Béla' $(copies))
sum_before=$(md5sum "$survivor")
kill -9 "$A"
wait_exit "$A" 10
start_app env LANG=hu_HU.UTF-8 "$PROGRAM"
C=$APP_PID
Q=$(wait_window '^telekado$')
xdotool windowfocus --sync "$Q" key Return
wait_for 30 "the third window" window_of "$C"
W=$(window_of "$C")
wait_for 10 "the '*' of restored work" title_is "$MAIN_TITLE*"
save_as harmadik
file_holds "$E2E_TMP/harmadik.tkd" '"m1": "Első Anna"'
[ "$(md5sum "$survivor")" = "$sum_before" ] || fail "the living program's copy was touched"
kill -0 "$B" || fail "the second program has gone"
kill -TERM "$B" "$C"
wait_exit "$B" 10
wait_exit "$C" 10
# 5. The same file in two programs: the second is told who has it open, and Esc ("Mégsem")
# leaves its form untouched. The lock goes with the first program.
start_app env LANG=hu_HU.UTF-8 "$PROGRAM" "$E2E_TMP/kovacs.tkd"
A=$APP_PID
wait_for 30 "the first window" window_of "$A"
W=$(window_of "$A")
wait_for 20 "the file's name in the title" title_is "$MAIN_TITLE - kovacs.tkd"
[ -f "$E2E_TMP/.kovacs.tkd.lock" ] || fail "no lock beside the open file"
start_app env LANG=hu_HU.UTF-8 "$PROGRAM" "$E2E_TMP/kovacs.tkd"
B=$APP_PID
Q=$(wait_window '^telekado$')
import -window root "$OUT/recovery-file-held.png"
xdotool windowfocus --sync "$Q" key Escape
wait_for 10 "the question to close" no_window '^telekado$'
W=$(window_of "$B")
title_is "$MAIN_TITLE" || fail "the second program opened the held file: $(xdotool getwindowname "$W")"
# SIGHUP, as a closed terminal sends it, ends as SIGTERM does.
kill -HUP "$A"
wait_exit "$A" 10
[ "$EXIT_RC" = 0 ] || fail "SIGHUP: exit code $EXIT_RC"
kill -TERM "$B"
wait_exit "$B" 10
[ ! -e "$E2E_TMP/.kovacs.tkd.lock" ] || fail "the lock stayed after the program ended"

# 6. A file where the data folder should be: the program runs as before, without recovery, and
# says so under the form (screenshot); typing and the question before ending are as ever.
printf 'x' >"$E2E_TMP/no-folder"
start_app env LANG=hu_HU.UTF-8 XDG_DATA_HOME="$E2E_TMP/no-folder" "$PROGRAM"
W=$(wait_window "$MAIN_TITLE_RE")
fill_form 'Nincs Mappa'
wait_for 10 "the '*' of a changed form" title_is "$MAIN_TITLE*"
import -window root "$OUT/recovery-no-folder.png"
click_menu "$W" "$MENU_EXIT_X"
Q=$(wait_window '^telekado$')
xdotool windowfocus --sync "$Q" key Tab space
wait_exit "$APP_PID" 10
[ "$EXIT_RC" = 0 ] || fail "without recovery, Nem: exit code $EXIT_RC"

echo "work came back after kill -9, SIGTERM and with an opened file; two programs kept their own copies; screenshots in $OUT"
