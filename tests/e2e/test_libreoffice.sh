#!/usr/bin/env bash
# The table as a clerk's spreadsheet takes it: 50 declarations through LibreOffice Calc (the
# columns imported as text, as the README advises), saved as .xlsx, exported again as CSV with
# ";" and with ",", and each export read back by --from-table: every cell and every declaration
# as before.
PROGRAM=$1
OUT=$2
source "$(dirname "$0")/lib.sh"
HERE=$(dirname "$0")
mkdir -p "$OUT"
command -v soffice >/dev/null || fail "LibreOffice (soffice) is not installed"

# A profile of its own, so that no running LibreOffice and no user settings take part.
calc() {
  env -u DISPLAY HOME="$E2E_TMP" soffice --headless --norestore "-env:UserInstallation=file://$E2E_TMP/profile" "$@" \
    >>"$E2E_TMP/soffice.log" 2>&1 || fail "soffice $*: $(cat "$E2E_TMP/soffice.log")"
}

mkdir "$E2E_TMP/in" "$E2E_TMP/xlsx" "$E2E_TMP/semicolon" "$E2E_TMP/comma" "$E2E_TMP/untouched"
python3 "$HERE/make_declarations.py" 50 "$E2E_TMP/in"
headless "$PROGRAM" --table "$E2E_TMP/bevallasok.csv" "$E2E_TMP/in" || fail "--table"
printf '{"format": "telekado-bevallas", "version": 1}' >"$E2E_TMP/ures.tkd"
headless "$PROGRAM" --table "$E2E_TMP/ures.csv" "$E2E_TMP/ures.tkd" || fail "--table of an empty declaration"
headless "$PROGRAM" --from-table "$E2E_TMP/ures.csv" --name-column fájl "$E2E_TMP/untouched" || fail "--from-table of it"

# The CSV filter's options: ";" (59) between cells, '"' (34) around them, UTF-8 (76), from line 1,
# and every column as text (format 2), so that "0012" or "1/2" stays as typed.
columns=$(python3 -c 'import csv,sys; print(len(next(csv.reader(open(sys.argv[1], encoding="utf-8-sig"), delimiter=";"))))' \
  "$E2E_TMP/bevallasok.csv")
formats=$(seq -s / 1 "$columns" | sed 's|/|/2/|g')/2
calc --infilter="CSV:59,34,76,1,$formats" --convert-to xlsx --outdir "$E2E_TMP/xlsx" "$E2E_TMP/bevallasok.csv"
[ -s "$E2E_TMP/xlsx/bevallasok.xlsx" ] || fail "no .xlsx: $(cat "$E2E_TMP/soffice.log")"
cp "$E2E_TMP/xlsx/bevallasok.xlsx" "$OUT/table-50.xlsx"
for export in "semicolon:59" "comma:44"; do
  name=${export%%:*}
  calc --convert-to "csv:Text - txt - csv (StarCalc):${export#*:},34,76,1" --outdir "$E2E_TMP/$name" \
    "$E2E_TMP/xlsx/bevallasok.xlsx"
  table="$E2E_TMP/$name/bevallasok.csv"
  [ -s "$table" ] || fail "no $name export: $(cat "$E2E_TMP/soffice.log")"
  python3 "$HERE/table_check.py" cells "$E2E_TMP/bevallasok.csv" "$table" || fail "the $name export lost a value"
  mkdir "$E2E_TMP/$name/back"
  headless "$PROGRAM" --from-table "$table" --name-column fájl "$E2E_TMP/$name/back" 2>"$E2E_TMP/err" \
    || fail "--from-table of the $name export: $(cat "$E2E_TMP/err")"
  python3 "$HERE/table_check.py" same "$E2E_TMP/in" "$E2E_TMP/$name/back" "$E2E_TMP/untouched/ures.tkd" \
    || fail "the $name export did not come back"
  cp "$table" "$OUT/table-50-libreoffice-$name.csv"
done
echo "50 declarations through LibreOffice Calc and back, with \";\" and with \",\"; the files are in $OUT"
