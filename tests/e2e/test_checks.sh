#!/usr/bin/env bash
# The checks before printing, typed as a user types: a complete taxpayer with a valid tax number
# and tax identifier prints without a word; one digit of the identifier changed, "Nyomtatás"
# shows "Ellenőrzés" listing exactly that field, and "Javítás" puts the keyboard back into it.
PROGRAM=$1
OUT=$2
source "$(dirname "$0")/lib.sh"
mkdir -p "$OUT"

PREVIEW_RE='^El.*k.*p$'
CHECK_RE='^Ellen'

# "Nyomtatás", then waits for whichever window it opens and prints "preview" or "check".
print_form() {
  click_menu "$W" "$MENU_PRINT_X"
  local end=$((SECONDS + 60))
  while [ $SECONDS -le $end ]; do
    if xdotool search --onlyvisible --name "$CHECK_RE" >/dev/null 2>&1; then
      echo check
      return 0
    fi
    if xdotool search --onlyvisible --name "$PREVIEW_RE" >/dev/null 2>&1; then
      echo preview
      return 0
    fi
    sleep 0.05
  done
  fail "\"Nyomtatás\" opened no window within 60s"
}

# The rows "Ellenőrzés" lists, one a line, as Ctrl+C copies them.
listed_rows() {
  local c
  c=$(wait_window "$CHECK_RE")
  printf '' | xclip -selection clipboard
  xdotool windowfocus --sync "$c" key ctrl+c
  wait_for 10 "the rows on the clipboard" eval '[ -n "$(xclip -o -selection clipboard 2>/dev/null)" ]'
  xclip -o -selection clipboard
}

# Retypes the tax identifier, which overwrites digit by digit from its start.
type_tax_id() {
  xdotool key Home
  sleep 0.1
  xdotool type --delay 30 "$1"
}

start_xvfb 1280x2048x24
start_app env LANG=hu_HU.UTF-8 "$PROGRAM"
W=$(wait_window "$MAIN_TITLE_RE")
xdotool windowfocus --sync "$W"
sleep 0.5
find_form "$W"

# Section I is at (24, 80) inside the outer panel.
click_at $((24 + 152 + 20)) $((80 + 28 + 10))            # StyledEdit35, the name
xdotool type --delay 30 'Kovács Őrs'
click_at $((24 + 152 + 20)) $((80 + 80 + 10))            # CtlMaskEdit6, the tax number
xdotool key Home
xdotool type --delay 30 '15789934-2-51'
click_at $((24 + 152 + 20)) $((80 + 104 + 10))           # CtlMaskEdit8, the tax identifier
type_tax_id 8365670003
click_at $((24 + 24 + 325 + 20)) $((80 + 232 + 17 + 15)) # "jogi személy"
click_at $((24 + 24 + 313 + 20)) $((80 + 320 + 17 + 9))  # "bérlő"
import -window root "$OUT/checks-valid.png"

opened=$(print_form)
if [ "$opened" = check ]; then
  fail "a valid taxpayer was found wanting: $(listed_rows | tr '\t\n' ' |')"
fi
close_with_escape "$(wait_window "$PREVIEW_RE")" "$PREVIEW_RE" "the preview"

# One digit of the identifier changed: the window lists that field and nothing else.
click_at $((24 + 152 + 20)) $((80 + 104 + 10))
type_tax_id 8365670004
opened=$(print_form)
[ "$opened" = check ] || fail "a wrong check digit went straight to the preview"
rows=$(listed_rows)
import -window root "$OUT/checks-window.png"
[ "$(wc -l <<<"$rows")" = 1 ] || fail "expected one row, got: $rows"
IFS=$'\t' read -r field section message <<<"$rows"
[ "$field" = 'adóazonositó jele (adózó)' ] || fail "the row names '$field'"
[ "$section" = 'I. AZ ADÓ ALANYA' ] || fail "the row's section is '$section'"
grep -qF 'ellenőrző számjegy: 3' <<<"$message" || fail "the message does not give the right check digit: $message"

# Enter is "Javítás": the window closes, no preview opens, and what is typed next goes into
# the identifier. Put right, "Nyomtatás" goes straight to the preview.
xdotool windowfocus --sync "$(wait_window "$CHECK_RE")" key Return
wait_for 10 "\"Ellenőrzés\" to close" no_window "$CHECK_RE"
no_window "$PREVIEW_RE" || fail "\"Javítás\" opened the preview"
import -window root "$OUT/checks-fix.png"
type_tax_id 8365670003
opened=$(print_form)
[ "$opened" = preview ] || fail "the identifier put right after \"Javítás\" is still found wanting: $(listed_rows)"
close_with_escape "$(wait_window "$PREVIEW_RE")" "$PREVIEW_RE" "the preview"

# "Kilépés" asks about the typed form; "Nem" (Tab from the default "Igen") ends the program.
click_menu "$W" "$MENU_EXIT_X"
xdotool windowfocus --sync "$(wait_window '^telekado$')" key Tab space
wait_exit "$APP_PID" 10
[ "$EXIT_RC" = 0 ] || fail "exit code $EXIT_RC"
echo "valid taxpayer printed without checks; one wrong digit listed alone; \"Javítás\" led back; screenshots in $OUT"
