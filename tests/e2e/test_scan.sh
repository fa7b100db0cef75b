#!/usr/bin/env bash
# Paper that reads back. A declaration with every field filled is opened in the window, saved
# there and printed on the cups-pdf printer; its page 2, scanned at 200 dpi as an office scanner
# damages it (turned 2°, noise, blur, JPEG at 60), gives back through --scan the very file the
# window saved, and so does a PDF of two declarations' scans; a phone-like photo of a usual
# declaration reads back too.
# zbarimg, a reader of its own, finds the same payload, in the documented format.
# "Beolvasás képről..." reads the scan into the window. Bad inputs each give one message and no
# file, and the run goes on.
PROGRAM=$1
OUT=$2
source "$(dirname "$0")/lib.sh"
mkdir -p "$OUT"
require_printer
HERE=$(dirname "$0")

# An office scanner's damage to a page image: $1 in, $2 out.
scanner() {
  convert "$1" -background white -rotate 2 -attenuate 0.5 +noise Gaussian -blur 0x0.6 -quality 60 "$2"
}

cp "$HERE/data/teljes.tkd" "$E2E_TMP/ablak.tkd"
cp "$HERE/data/masik.tkd" "$E2E_TMP/masik.tkd"

# The window opens the declaration, saves it (Ctrl+S writes the file as the window holds it)
# and prints it through the preview on the cups-pdf printer.
start_xvfb 1280x2048x24
start_app env LANG=hu_HU.UTF-8 "$PROGRAM" "$E2E_TMP/ablak.tkd"
W=$(wait_window "$MAIN_TITLE_RE")
xdotool windowfocus --sync "$W"
sleep 0.5
before=$(stat -c %.9Y "$E2E_TMP/ablak.tkd")
xdotool key ctrl+s
wait_for 10 "the window to save the declaration" eval '[ "$(stat -c %.9Y "$E2E_TMP/ablak.tkd")" != "$before" ]'
click_menu "$W" "$MENU_PRINT_X"
preview=$(wait_window '^El.*k.*p$')
print_through_dialog "$preview"
cp "$PRINTED_PDF" "$OUT/scan-printed.pdf"
close_with_escape "$preview" '^El.*k.*p$' "the preview"

# The office's scan of page 2.
pdftoppm -r 200 -gray -png -f 2 -l 2 "$PRINTED_PDF" "$E2E_TMP/printed"
scanner "$E2E_TMP/printed-2.png" "$E2E_TMP/lap.jpg"
cp "$E2E_TMP/lap.jpg" "$OUT/scan-office.jpg"
mkdir "$E2E_TMP/out"
headless "$PROGRAM" --scan "$E2E_TMP/out" "$E2E_TMP/lap.jpg" 2>"$E2E_TMP/stderr" \
  || fail "--scan of the office scan: exit code $?; $(cat "$E2E_TMP/stderr")"
cmp "$E2E_TMP/out/lap.tkd" "$E2E_TMP/ablak.tkd" \
  || fail "the scanned declaration differs from the one the window saved: $(diff "$E2E_TMP/out/lap.tkd" "$E2E_TMP/ablak.tkd" | head -20)"

# An independent reader decodes the same symbol to the documented payload of that declaration.
zbarimg -q --raw -Sbinary "$E2E_TMP/lap.jpg" 2>/dev/null >"$E2E_TMP/zbar.txt" || fail "zbarimg found no code"
printf '%s' "$(cat "$E2E_TMP/zbar.txt")" >"$E2E_TMP/payload.txt" # its trailing line end
python3 "$HERE/code_payload.py" "$E2E_TMP/payload.txt" "$E2E_TMP/ablak.tkd" || fail "zbarimg's payload"

# A phone-like photo: 150 dpi, the page seen at an angle, uneven light. A usual declaration's
# code has modules of 0.6 mm and more, which the photo keeps readable; the full one's, of 0.4 mm,
# come to 2.4 pixels at 150 dpi, too few after the distortion for any reader.
headless "$PROGRAM" --pdf "$E2E_TMP/szokasos.pdf" "$HERE/data/szokasos.tkd" || fail "--pdf of the usual declaration"
pdftoppm -r 150 -gray -png -f 2 -l 2 "$E2E_TMP/szokasos.pdf" "$E2E_TMP/phone"
read -r pw ph <<<"$(identify -format '%w %h' "$E2E_TMP/phone-2.png")"
convert "$E2E_TMP/phone-2.png" -virtual-pixel white \
  -distort Perspective "0,0 40,60  $pw,0 $((pw - 30)),10  0,$ph 10,$((ph - 50))  $pw,$ph $((pw - 60)),$((ph - 20))" \
  \( -size "${pw}x${ph}" gradient:white-gray70 \) -compose Multiply -composite -quality 80 "$E2E_TMP/foto.jpg"
cp "$E2E_TMP/foto.jpg" "$OUT/scan-photo.jpg"
headless "$PROGRAM" --scan "$E2E_TMP/out" "$E2E_TMP/foto.jpg" 2>"$E2E_TMP/stderr" \
  || fail "--scan of the photo: exit code $?; $(cat "$E2E_TMP/stderr")"
same_declaration() {
  python3 - "$1" "$2" <<'EOF'
import json, sys
got, want = (json.load(open(p, encoding="utf-8")) for p in sys.argv[1:])
assert all(got["fields"][k] == v for k, v in want["fields"].items()), "fields"
assert all(got["choices"][k] == v for k, v in want["choices"].items()), "choices"
EOF
}
same_declaration "$E2E_TMP/out/foto.tkd" "$HERE/data/szokasos.tkd" || fail "the photo gave another declaration"

# Two declarations scanned into one PDF of four pages: pages 2 and 4 give the two files, the
# pages without a code are named, and the exit code says so.
headless "$PROGRAM" --pdf "$E2E_TMP/masik.pdf" "$E2E_TMP/masik.tkd" || fail "--pdf of the second declaration"
pdftoppm -r 200 -gray -png "$E2E_TMP/masik.pdf" "$E2E_TMP/masik"
pdftoppm -r 200 -gray -png -f 1 -l 1 "$PRINTED_PDF" "$E2E_TMP/printed"
for page in printed-1 printed-2 masik-1 masik-2; do scanner "$E2E_TMP/$page.png" "$E2E_TMP/$page.jpg"; done
img2pdf --pagesize A4 -o "$E2E_TMP/ketto.pdf" "$E2E_TMP"/printed-1.jpg "$E2E_TMP"/printed-2.jpg \
  "$E2E_TMP"/masik-1.jpg "$E2E_TMP"/masik-2.jpg 2>/dev/null || fail "img2pdf"
mkdir "$E2E_TMP/out2"
rc=0
headless "$PROGRAM" --scan "$E2E_TMP/out2" "$E2E_TMP/ketto.pdf" 2>"$E2E_TMP/stderr" || rc=$?
[ "$rc" = 1 ] || fail "the four-page PDF: exit code $rc"
[ "$(ls "$E2E_TMP/out2")" = "$(printf 'ketto-2.tkd\nketto-4.tkd')" ] || fail "the four-page PDF gave: $(ls "$E2E_TMP/out2")"
cmp "$E2E_TMP/out2/ketto-2.tkd" "$E2E_TMP/ablak.tkd" || fail "page 2 of the PDF gave another declaration"
same_declaration "$E2E_TMP/out2/ketto-4.tkd" "$E2E_TMP/masik.tkd" || fail "page 4 of the PDF is not the second declaration"
grep -q "ketto.pdf, 1. oldal: Nincs beolvasható bevallás: Az oldalon nincs olvasható kód\.$" "$E2E_TMP/stderr" \
  && grep -q "ketto.pdf, 3. oldal: " "$E2E_TMP/stderr" && [ "$(wc -l <"$E2E_TMP/stderr")" = 2 ] \
  || fail "the pages without a code: $(cat "$E2E_TMP/stderr")"

# Bad inputs, each one message and no file; the good scan at the end is still read.
bad="$E2E_TMP/bad"
mkdir "$bad" "$E2E_TMP/out3"
cp "$E2E_TMP/printed-1.jpg" "$bad/nincskod.jpg"
qrencode -l M -s 8 -o "$bad/webcim.png" 'https://example.org/bevallas'
convert "$E2E_TMP/printed-2.png" -crop 18%x100%+0+0 +repage "$bad/levagott.png"
printf 'TKD2P\n0 Ft.\n{"format":"telekado-bevallas","version":2}' | qrencode -l M -s 8 -o "$bad/ujabb.png"
printf 'TKD1P\n0 Ft.\n{"format":"telekado-bevallas","version":1,"fields":{"m1":12}}' | qrencode -l M -s 8 -o "$bad/rossz.png"
: >"$bad/ures.png"
python3 - "$bad/oriasi.png" <<'EOF'
# A real PNG of 30,000 x 30,000 white pixels, written row by row (about 1 MB compressed).
import struct, sys, zlib
w = h = 30000
def chunk(kind, data):
    return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data) & 0xffffffff)
z = zlib.compressobj(9)
row = b"\x00" + b"\xff" * w
body = b"".join(z.compress(row) for _ in range(h)) + z.flush()
with open(sys.argv[1], "wb") as f:
    f.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", w, h, 8, 0, 0, 0, 0))
            + chunk(b"IDAT", body) + chunk(b"IEND", b""))
EOF
head -c 3000 "$E2E_TMP/masik.pdf" >"$bad/csonka.pdf"
qpdf --encrypt titok titok 256 -- "$E2E_TMP/ketto.pdf" "$bad/jelszavas.pdf"
inputs=(nincskod.jpg webcim.png levagott.png ujabb.png rossz.png ures.png oriasi.png csonka.pdf jelszavas.pdf)
rc=0
start=$(date +%s%N)
headless "$PROGRAM" --scan "$E2E_TMP/out3" "${inputs[@]/#/$bad/}" "$E2E_TMP/lap.jpg" 2>"$E2E_TMP/stderr" || rc=$?
took=$(( ($(date +%s%N) - start) / 1000000 ))
cat "$E2E_TMP/stderr" >"$OUT/scan-bad-inputs.txt"
[ "$rc" = 1 ] || fail "bad inputs: exit code $rc"
[ "$(ls "$E2E_TMP/out3")" = lap.tkd ] || fail "bad inputs left files: $(ls "$E2E_TMP/out3")"
[ "$(wc -l <"$E2E_TMP/stderr")" = ${#inputs[@]} ] || fail "not one line per bad input: $(cat "$E2E_TMP/stderr")"
expect_line() {
  grep -q "^$bad/$1: .*$2" "$E2E_TMP/stderr" || fail "$1: expected '$2' in: $(grep "$1" "$E2E_TMP/stderr")"
}
expect_line nincskod.jpg 'nincs olvasható kód'
expect_line webcim.png 'nem a telekadó-bevallás kódja'
expect_line levagott.png 'nincs olvasható kód'
expect_line ujabb.png 'újabb változatával'
expect_line rossz.png 'nem szöveg'
expect_line ures.png 'A fájl üres'
expect_line oriasi.png 'túl nagy (30000 × 30000 képpont)'
expect_line csonka.pdf 'A PDF sérült'
expect_line jelszavas.pdf 'jelszóval védett'

# "Beolvasás képről..." in the window: the form takes the scan, counts as unsaved, and its title
# names the scan; saved, it is the file the window saved before.
W=$(wait_window "$MAIN_TITLE_RE")
xdotool windowfocus --sync "$W"
xdotool key alt+f
sleep 0.3
xdotool key b
dialog=$(wait_window '^Beolvas')
sleep 0.3
xdotool type --delay 20 "$E2E_TMP/lap.jpg"
xdotool key Return
wait_for 20 "the title to name the scan" eval 'xdotool getwindowname "$W" | grep -q "lap.jpg (beolvasva)\*$"'
import -window root "$OUT/scan-window.png"
xdotool windowfocus --sync "$W" key ctrl+s
dialog=$(wait_window '^Ment')
sleep 0.3
xdotool key ctrl+a
xdotool type --delay 20 "$E2E_TMP/ablakbol.tkd"
xdotool key Return
wait_for 20 "the scanned form to be saved" test -s "$E2E_TMP/ablakbol.tkd"
cmp "$E2E_TMP/ablakbol.tkd" "$E2E_TMP/ablak.tkd" || fail "the window read another declaration from the scan"
kill "$APP_PID"
wait_exit "$APP_PID" 10
echo "office scan, photo and four-page PDF read back to the saved file; zbarimg agrees; bad inputs ($took ms) named: see $OUT/scan-bad-inputs.txt"
