#!/usr/bin/env bash
# What a person sees on paper: both pages of the untouched declaration, rendered at 300 dpi and
# read by OCR in Hungarian, show every fixed caption of the template whole.
PROGRAM=$1
TEMPLATE=$2
OUT=$3
source "$(dirname "$0")/lib.sh"
mkdir -p "$OUT"
command -v tesseract >/dev/null && tesseract --list-langs 2>/dev/null | grep -qx hun \
  || fail "tesseract with Hungarian is missing (tesseract-ocr, tesseract-ocr-hun)"

mkdir -m 700 "$E2E_TMP/runtime"
echo '{"format": "telekado-bevallas", "version": 1}' >"$E2E_TMP/ures.tkd"
env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM XDG_RUNTIME_DIR="$E2E_TMP/runtime" \
  "$PROGRAM" --pdf "$E2E_TMP/ures.pdf" "$E2E_TMP/ures.tkd" || fail "--pdf: exit code $?"
pdftoppm -r 300 -gray -png "$E2E_TMP/ures.pdf" "$E2E_TMP/page"
for page in "$E2E_TMP"/page-*.png; do
  tesseract "$page" "${page%.png}" -l hun --psm 4 >/dev/null 2>&1 || fail "tesseract failed on $page"
done
cp "$E2E_TMP"/page-*.png "$OUT/" 2>/dev/null || true
python3 "$(dirname "$0")/ocr_captions.py" "$TEMPLATE" "$E2E_TMP"/page-*.txt >"$E2E_TMP/found" || {
  grep -v '^ok ' "$E2E_TMP/found" >&2
  fail "captions not read whole off the pages (see above)"
}
echo "every fixed caption read off both pages: $(wc -l <"$E2E_TMP/found") lines"
