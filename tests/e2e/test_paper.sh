#!/usr/bin/env bash
# The printed declaration read as the office reads it. In the program's PDF and in the cups-pdf
# printout, each of the four identity lines has the identification code right of
# "adóazonositó száma:" and the tax number right of "adószáma:"; the same captions stand at the
# same place on both papers. A name too long for its box is one finding of the checks, on the
# command line and in the "Ellenőrzés" window; a declaration of normal values has none.
PROGRAM=$1
OUT=$2
source "$(dirname "$0")/lib.sh"
mkdir -p "$OUT"
require_printer
WORDS="$(dirname "$0")/paper_words.py"


# Every check satisfied, each block with codes of its own.
cat >"$E2E_TMP/teljes.tkd" <<'EOF'
{
    "format": "telekado-bevallas", "version": 1,
    "choices": {"CtlRadioGroup1": 0, "CtlRadioGroup5": 0, "CtlRadioGroup6": 1},
    "fields": {
        "m1": "Kovács Őrs", "m2": "Hollóberény, Fő tér 2.", "m3": "10773381-2-44", "m4": "8365670003",
        "m11": "1998",
        "m12": "Nagy Anna", "m14": "15789934-2-51", "m15": "8400000129",
        "m17": "Nagy Béla", "m19": "30000010-1-01", "m20": "8412340779",
        "m22": "Űrmös Ilona", "m24": "23456787-3-13", "m25": "8380000056",
        "m27": "1500", "m28": "300"
    }
}
EOF
expected_pairs=$(printf '%s\t%s\n' \
  'adóazonositó száma:' 8365670003 'adószáma:' 10773381-2-44 \
  'adóazonositó száma:' 8400000129 'adószáma:' 15789934-2-51 \
  'adóazonositó száma:' 8412340779 'adószáma:' 30000010-1-01 \
  'adóazonositó száma:' 8380000056 'adószáma:' 23456787-3-13)

check_pairs() {
  local got
  got=$(python3 "$WORDS" pairs "$1")
  [ "$got" = "$expected_pairs" ] || fail "$2: the codes beside their labels are
$got"
}

# The program's own PDF.
headless "$PROGRAM" --pdf "$E2E_TMP/teljes.pdf" "$E2E_TMP/teljes.tkd" 2>"$E2E_TMP/stderr" \
  || fail "--pdf: exit code $?; $(cat "$E2E_TMP/stderr")"
check_pairs "$E2E_TMP/teljes.pdf" "the program's PDF"
cp "$E2E_TMP/teljes.pdf" "$OUT/paper-program.pdf"

# A normal declaration has no findings; a 120-character name has exactly its fit finding.
rc=0
headless "$PROGRAM" --check "$E2E_TMP/teljes.tkd" >"$E2E_TMP/stdout" 2>&1 || rc=$?
[ "$rc" = 0 ] && [ ! -s "$E2E_TMP/stdout" ] || fail "--check of a normal declaration: $rc, $(cat "$E2E_TMP/stdout")"
long=$(printf 'Hosszúnevű Árvíztűrő Tükörfúrógép Őrs %.0s' 1 2 3 4)
long=${long:0:120}
[ ${#long} = 120 ] || fail "the long name is ${#long} characters"
sed "s/\"m1\": \"Kovács Őrs\"/\"m1\": \"$long\"/" "$E2E_TMP/teljes.tkd" >"$E2E_TMP/hosszu.tkd"
rc=0
headless "$PROGRAM" --check "$E2E_TMP/hosszu.tkd" >"$E2E_TMP/stdout" 2>"$E2E_TMP/stderr" || rc=$?
[ "$rc" = 1 ] || fail "--check of a long name: exit code $rc; $(cat "$E2E_TMP/stdout" "$E2E_TMP/stderr")"
[ "$(wc -l <"$E2E_TMP/stdout")" = 1 ] && grep -q "neve (adózó): A szöveg nem fér el a nyomtatványon: a(z) 120 karakterből csak [0-9]* látszik" "$E2E_TMP/stdout" \
  || fail "--check of a long name: $(cat "$E2E_TMP/stdout")"

start_xvfb 1280x2048x24
PREVIEW_RE='^El.*k.*p$'
CHECK_RE='^Ellen'

# The normal declaration goes straight to the preview and prints on the cups-pdf printer.
start_app env LANG=hu_HU.UTF-8 "$PROGRAM" "$E2E_TMP/teljes.tkd"
W=$(wait_window "$MAIN_TITLE_RE")
xdotool windowfocus --sync "$W"
sleep 0.5
click_menu "$W" "$MENU_PRINT_X"
preview=$(wait_window "$PREVIEW_RE")
no_window "$CHECK_RE" || fail "a normal declaration was found wanting"
print_through_dialog "$preview"
cp "$PRINTED_PDF" "$OUT/paper-printer.pdf"
check_pairs "$PRINTED_PDF" "the printout"

# Report coordinates count from the paper's corner on every device: a caption stands where it
# stands in the program's PDF, within 0.3 mm (0.85 pt).
for word in BEVALLÁS Kelt: Megjegyzés: Telefonszáma:; do
  a=$(python3 "$WORDS" place "$E2E_TMP/teljes.pdf" "$word")
  b=$(python3 "$WORDS" place "$PRINTED_PDF" "$word")
  [ -n "$a" ] && [ "$(wc -l <<<"$a")" = "$(wc -l <<<"$b")" ] || fail "\"$word\": '$a' against '$b'"
  paste <(echo "$a") <(echo "$b") | awk -v w="$word" '
    { dx = $2 - $5; dy = $3 - $6; if (dx < 0) dx = -dx; if (dy < 0) dy = -dy
      if ($1 != $4 || dx > 0.85 || dy > 0.85) { print "\"" w "\" moved: " $0; bad = 1 } }
    END { exit bad }' || fail "a caption does not stand at its place on the printout"
done
close_with_escape "$preview" "$PREVIEW_RE" "the preview"
kill "$APP_PID"
wait_exit "$APP_PID" 10

# The long name in the window: "Nyomtatás" lists exactly its fit finding.
start_app env LANG=hu_HU.UTF-8 "$PROGRAM" "$E2E_TMP/hosszu.tkd"
W=$(wait_window "$MAIN_TITLE_RE")
xdotool windowfocus --sync "$W"
sleep 0.5
click_menu "$W" "$MENU_PRINT_X"
c=$(wait_window "$CHECK_RE")
printf '' | xclip -selection clipboard
xdotool windowfocus --sync "$c" key ctrl+c
wait_for 10 "the rows on the clipboard" eval '[ -n "$(xclip -o -selection clipboard 2>/dev/null)" ]'
rows=$(xclip -o -selection clipboard)
import -window root "$OUT/paper-fit-check.png"
[ "$(wc -l <<<"$rows")" = 1 ] || fail "expected one row, got: $rows"
IFS=$'\t' read -r field section message <<<"$rows"
[ "$field" = 'neve (adózó)' ] || fail "the row names '$field'"
grep -q '^A szöveg nem fér el a nyomtatványon: a(z) 120 karakterből csak [0-9]* látszik' <<<"$message" \
  || fail "the row says: $message"
kill "$APP_PID"
wait_exit "$APP_PID" 10
echo "codes beside their own labels in the program's PDF and the printout; captions in place; one fit finding for a long name; files in $OUT"
