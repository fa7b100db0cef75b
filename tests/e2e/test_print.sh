#!/usr/bin/env bash
# The whole job: fill the form, "Nyomtatás", print from the preview on the cups-pdf printer and
# read the PDF back; then save the prepared report with Ctrl+S and parse it.
PROGRAM=$1
OUT=$2
source "$(dirname "$0")/lib.sh"
mkdir -p "$OUT"

require_printer

start_xvfb 1280x2048x24
start_app env LANG=hu_HU.UTF-8 "$PROGRAM"
W=$(wait_window "$MAIN_TITLE_RE")
xdotool windowfocus --sync "$W"
sleep 0.5

find_form "$W"

# Section I is at (24, 80), section III at (24, 1088) inside the outer panel.
click_at $((24 + 152 + 20)) $((80 + 28 + 10))           # StyledEdit35, the name
xdotool type --delay 30 'Kovács Őrs Tűzkő'
click_at $((24 + 24 + 325 + 20)) $((80 + 232 + 17 + 15)) # "jogi személy"
click_at $((24 + 24 + 313 + 20)) $((80 + 320 + 17 + 9))  # "bérlő"
click_at $((24 + 520 + 50)) $((1088 + 64 + 12))         # NumEdit1
xdotool type --delay 30 '1500'
click_at $((24 + 520 + 50)) $((1088 + 88 + 12))         # NumEdit2: NumEdit1's exit computes
xdotool type --delay 30 '300'
click_at $((24 + 520 + 50)) $((1088 + 144 + 12))        # NumEdit3: NumEdit2's exit computes
import -window root "$OUT/filled.png"

# "Nyomtatás" opens the preview: with a name and both options chosen the checks find nothing,
# so no "Ellenőrzés" window comes first.
click_menu "$W" "$MENU_PRINT_X"
P=$(wait_window '^El.*k.*p$')
no_window '^Ellen' || fail "the checks found something on a complete taxpayer"
sleep 0.5
import -window root "$OUT/preview.png"

# Ctrl+P opens the print dialog; Enter confirms it.
print_through_dialog "$P"
pdf=$PRINTED_PDF
cp "$pdf" "$OUT/printed.pdf"

pages=$(pdfinfo "$pdf" | sed -n 's/^Pages: *//p')
[ "$pages" = 2 ] || fail "printed $pages pages, not 2"
pdfinfo "$pdf" | grep -q '(A4)' || fail "not A4"
text=$(pdftotext -layout "$pdf" -)
for want in 'Kovács' '1500' '300' '1200' '250.800 Ft.' 'BEVALLÁS' '2006 évi telekadó'; do
  grep -qF "$want" <<<"$text" || fail "printed text lacks '$want'"
done

# The crosses: chosen boxes carry the X through their centre, others are empty.
pdftoppm -r 96 -f 1 -l 1 -png "$pdf" "$E2E_TMP/p"
page1=$(ls "$E2E_TMP"/p*.png | head -n1)
dark() { convert "$page1" -crop 2x2+$1+$2 -format '%[fx:mean<0.5]' info:; }
[ "$(dark 75 404)" = 1 ] || fail "'jogi személy' is not crossed"
[ "$(dark 275 491)" = 1 ] || fail "'bérlő' is not crossed"
[ "$(dark 75 381)" = 0 ] || fail "'magánszemély' is crossed"
[ "$(dark 275 468)" = 0 ] || fail "'résztulajdonos' is crossed"

# Ctrl+S saves the prepared report; the name gets ".prp". The dialog has Qt's own title, in
# Hungarian: "Mentés másként".
P=$(wait_window '^El.*k.*p$')
xdotool windowfocus --sync "$P" key ctrl+s
wait_window '^Ment' >/dev/null
sleep 0.5
xdotool type --delay 20 "$E2E_TMP/bevallas.txt"
xdotool key Return
end=$((SECONDS + 20))
while [ ! -s "$E2E_TMP/bevallas.prp" ]; do
  [ $SECONDS -le $end ] || fail "no prepared-report file"
  sleep 0.1
done
sleep 0.3
xmllint --noout "$E2E_TMP/bevallas.prp" || fail "the prepared-report file is not well-formed"
grep -q 'Kov' "$E2E_TMP/bevallas.prp" || fail "the prepared-report file lacks the name"
cp "$E2E_TMP/bevallas.prp" "$OUT/bevallas.prp"

# Esc closes the preview. "Kilépés" asks about the typed form, which is not to be kept: "Nem"
# (Tab from the default "Igen") ends the program.
close_with_escape "$P" '^El.*k.*p$' "the preview"
click_menu "$W" "$MENU_EXIT_X"
Q=$(wait_window '^telekado$')
xdotool windowfocus --sync "$Q" key Tab space
wait_exit "$APP_PID" 5
rc=$EXIT_RC
[ "$rc" = 0 ] || fail "exit code $rc"
echo "printed $pdf; prepared report saved; outputs in $OUT"
