#!/usr/bin/env bash
# The office's register without a display: 50 declarations into a table, the table back into
# files, and the table again, byte for byte; the table as Python's csv module reads it; bad
# tables, each refused with one line and no half-written file; a folder that fills up; two runs
# writing into one folder.
PROGRAM=$1
OUT=$2
source "$(dirname "$0")/lib.sh"
HERE=$(dirname "$0")
mkdir -p "$OUT"

# No file of a run stays half-written: no temporary files, every declaration readable.
all_whole() {
  local folder=$1
  if ls -A "$folder" | grep -q 'part$'; then fail "a temporary file stayed in $folder: $(ls -A "$folder")"; fi
  if [ -n "$(ls "$folder")" ]; then
    headless "$PROGRAM" --table "$E2E_TMP/whole.csv" "$folder" 2>"$E2E_TMP/whole.err" \
      || fail "a file in $folder does not read: $(cat "$E2E_TMP/whole.err")"
  fi
}

mkdir "$E2E_TMP/in" "$E2E_TMP/back" "$E2E_TMP/untouched"
python3 "$HERE/make_declarations.py" 50 "$E2E_TMP/in"

# The round trip.
headless "$PROGRAM" --table "$E2E_TMP/t1.csv" "$E2E_TMP/in" 2>"$E2E_TMP/err" || fail "--table: $(cat "$E2E_TMP/err")"
[ ! -s "$E2E_TMP/err" ] || fail "--table said: $(cat "$E2E_TMP/err")"
headless "$PROGRAM" --from-table "$E2E_TMP/t1.csv" --name-column fájl "$E2E_TMP/back" 2>"$E2E_TMP/err" \
  || fail "--from-table: $(cat "$E2E_TMP/err")"
[ ! -s "$E2E_TMP/err" ] || fail "--from-table said: $(cat "$E2E_TMP/err")"
headless "$PROGRAM" --table "$E2E_TMP/t2.csv" "$E2E_TMP/back" || fail "--table of the files made from the table"
cmp "$E2E_TMP/t1.csv" "$E2E_TMP/t2.csv" || fail "the second table differs from the first"
# What a file leaves out is as on an untouched form: a table of an empty declaration says how.
printf '{"format": "telekado-bevallas", "version": 1}' >"$E2E_TMP/ures.tkd"
headless "$PROGRAM" --table "$E2E_TMP/ures.csv" "$E2E_TMP/ures.tkd" || fail "--table of an empty declaration"
headless "$PROGRAM" --from-table "$E2E_TMP/ures.csv" --name-column fájl "$E2E_TMP/untouched" || fail "--from-table of it"
python3 "$HERE/table_check.py" same "$E2E_TMP/in" "$E2E_TMP/back" "$E2E_TMP/untouched/ures.tkd" || fail "the round trip"
python3 "$HERE/table_check.py" values "$E2E_TMP/t1.csv" "$E2E_TMP/in" || fail "Python's csv module"
cp "$E2E_TMP/t1.csv" "$OUT/table-50.csv"

# A spreadsheet's own column is passed over and named once; a column left out leaves its field
# as on an untouched form.
python3 - "$E2E_TMP/t1.csv" "$E2E_TMP/sajat.csv" <<'PY'
import csv, io, sys
rows = list(csv.reader(io.StringIO(open(sys.argv[1], encoding="utf-8-sig").read(), newline=""), delimiter=";"))
drop = rows[0].index("adózó: cime")
with open(sys.argv[2], "w", encoding="utf-8", newline="") as f:
    w = csv.writer(f, delimiter=",", lineterminator="\n")
    for n, r in enumerate(rows[:4]):
        w.writerow(["ügyintéző" if n == 0 else "Kiss Ábel"] + r[:drop] + r[drop + 1:])
PY
mkdir "$E2E_TMP/sajat"
headless "$PROGRAM" --from-table "$E2E_TMP/sajat.csv" --name-column fájl "$E2E_TMP/sajat" 2>"$E2E_TMP/err" \
  || fail "a table with a column of its own: $(cat "$E2E_TMP/err")"
[ "$(grep -vc '^QStandardPaths' "$E2E_TMP/err")" = 1 ] && grep -q ': .*„ügyintéző”' "$E2E_TMP/err" \
  || fail "the column of its own was not named once: $(cat "$E2E_TMP/err")"
[ "$(ls "$E2E_TMP/sajat")" = "$(printf 'd01.tkd\nd02.tkd\nd03.tkd')" ] || fail "the files: $(ls "$E2E_TMP/sajat")"
headless "$PROGRAM" --table "$E2E_TMP/sajat-vissza.csv" "$E2E_TMP/sajat" || fail "--table of them"
python3 - "$E2E_TMP/sajat-vissza.csv" "$E2E_TMP/t1.csv" <<'PY' || fail "the column left out was not left untouched"
import csv, io, sys
read = lambda p: list(csv.reader(io.StringIO(open(p, encoding="utf-8-sig").read(), newline=""), delimiter=";"))
back, orig = read(sys.argv[1]), read(sys.argv[2])
col = orig[0].index("adózó: cime")
for b, o in zip(back[1:], orig[1:4]):
    assert b[col] == "" and b[:col] == o[:col] and b[col + 1:] == o[col + 1:], (b, o)
PY

# Named after the taxpayer by default, made safe, numbered where names repeat.
mkdir "$E2E_TMP/named"
headless "$PROGRAM" --from-table "$E2E_TMP/t1.csv" "$E2E_TMP/named" || fail "--from-table named after the taxpayer"
[ "$(ls "$E2E_TMP/named" | wc -l)" = 50 ] || fail "not 50 files: $(ls "$E2E_TMP/named")"
[ -f "$E2E_TMP/named/Kovács Őrs 7.tkd" ] || fail "no file named after the taxpayer: $(ls "$E2E_TMP/named")"
# d09's name holds quotes and a ";".
ls "$E2E_TMP/named" | grep -q '^Szűcs Ödön 9 _ifj\._; Bt\.\.tkd$' || fail "the quoted name: $(ls "$E2E_TMP/named" | grep 9)"
mkdir "$E2E_TMP/again"
cp "$E2E_TMP/named/Kovács Őrs 7.tkd" "$E2E_TMP/again/"
headless "$PROGRAM" --from-table "$E2E_TMP/t1.csv" "$E2E_TMP/again" || fail "--from-table into a folder with a file"
[ -f "$E2E_TMP/again/Kovács Őrs 7 (2).tkd" ] || fail "an existing file was not kept: $(ls "$E2E_TMP/again" | grep 'Őrs 7')"
all_whole "$E2E_TMP/again"

# Two runs into one folder at once: each writes all of its rows, none overwrites the other's.
mkdir "$E2E_TMP/both"
headless "$PROGRAM" --from-table "$E2E_TMP/t1.csv" --name-column fájl "$E2E_TMP/both" & first=$!
headless "$PROGRAM" --from-table "$E2E_TMP/t1.csv" --name-column fájl "$E2E_TMP/both" || fail "the second run"
wait $first || fail "the first run"
[ "$(ls "$E2E_TMP/both" | wc -l)" = 100 ] || fail "two runs left $(ls "$E2E_TMP/both" | wc -l) files, not 100"
all_whole "$E2E_TMP/both"

# Bad tables: one clear line on standard error, exit code 1, no half-written file.
mkdir "$E2E_TMP/bad"
python3 - "$E2E_TMP/t1.csv" "$E2E_TMP/bad" <<'PY'
import csv, io, sys
raw = open(sys.argv[1], "rb").read()
rows = list(csv.reader(io.StringIO(raw.decode("utf-8-sig"), newline=""), delimiter=";"))
out = sys.argv[2]
def table(name, records, tail=b""):
    buf = io.StringIO(newline="")
    csv.writer(buf, delimiter=";", lineterminator="\r\n").writerows(records)
    open(f"{out}/{name}", "wb").write(b"\xef\xbb\xbf" + buf.getvalue().encode() + tail)
header = rows[0]
open(f"{out}/ures.csv", "wb").close()
table("fejlec.csv", [header])
table("ketszer.csv", [header + [header[0]], rows[1] + [rows[1][0]]])
# The second of three rows has a cell too many; the others are written.
table("tobb.csv", [header, rows[1], rows[2] + ["többlet"], rows[3]])
table("nyitott.csv", rows, b'd99.tkd;"nyitott id\xc3\xa9z\xc5\x91jel\r\n')
# Within the third row: the row before it is written.
at = raw.index(b"\r\nd02.tkd;") + 20
open(f"{out}/utf8.csv", "wb").write(raw[:at] + b"\xff\xfe" + raw[at:])
open(f"{out}/latin2.csv", "wb").write(raw[3:].decode("utf-8").encode("iso-8859-2"))
with open(f"{out}/nagy.csv", "wb") as f:
    f.write(b"\xef\xbb\xbf" + ";".join(header).encode() + b'\r\nd1.tkd;"')
    block = b"x" * (1 << 20)
    for _ in range(200):
        f.write(block)
    f.write(b'"\r\n')
PY
check_bad() {
  local table=$1 want=$2 rows=$3
  local folder="$E2E_TMP/bad-out-$(basename "$table" .csv)"
  mkdir "$folder"
  rc=0
  python3 - "$E2E_TMP/peak" headless "$PROGRAM" --from-table "$table" --name-column fájl "$folder" \
    2>"$E2E_TMP/err" <<'PY' || rc=$?
import resource, subprocess, sys
env_cmd = ["env", "-u", "DISPLAY", "-u", "WAYLAND_DISPLAY", "-u", "QT_QPA_PLATFORM", "LANG=hu_HU.UTF-8"]
code = subprocess.call(env_cmd + sys.argv[3:])
open(sys.argv[1], "w").write(str(resource.getrusage(resource.RUSAGE_CHILDREN).ru_maxrss))
sys.exit(code)
PY
  [ "$rc" = 1 ] || fail "$(basename "$table"): exit code $rc; stderr: $(cat "$E2E_TMP/err")"
  grep -v '^QStandardPaths' "$E2E_TMP/err" >"$E2E_TMP/err.lines" || true
  grep -q "^$table: .*$want" "$E2E_TMP/err.lines" || fail "$(basename "$table"): the message is '$(cat "$E2E_TMP/err.lines")'"
  [ "$(ls "$folder" | wc -l)" = "$rows" ] || fail "$(basename "$table"): $(ls "$folder" | wc -l) files, not $rows"
  all_whole "$folder"
  echo "$(basename "$table"): $(head -n 1 "$E2E_TMP/err.lines") ($(cat "$E2E_TMP/peak") kB peak)"
}
check_bad "$E2E_TMP/bad/ures.csv" "üres" 0
check_bad "$E2E_TMP/bad/fejlec.csv" "sor" 0
check_bad "$E2E_TMP/bad/ketszer.csv" "„fájl”" 0
check_bad "$E2E_TMP/bad/tobb.csv" "3\. sor" 2
check_bad "$E2E_TMP/bad/nyitott.csv" "idézőjel" 50
check_bad "$E2E_TMP/bad/utf8.csv" "3\. sor.*UTF-8" 1
check_bad "$E2E_TMP/bad/latin2.csv" "UTF-8" 0
check_bad "$E2E_TMP/bad/nagy.csv" "MB" 0
[ "$(cat "$E2E_TMP/peak")" -lt 150000 ] || fail "the 200 MB table took $(cat "$E2E_TMP/peak") kB"

# A folder that fills up: every file written is whole, the first that could not be is named.
if [ "$(id -u)" = 0 ] && mkdir "$E2E_TMP/small" && mount -t tmpfs -o size=96k tmpfs "$E2E_TMP/small" 2>/dev/null; then
  trap 'rc=$?; umount "$E2E_TMP/small" 2>/dev/null; (exit $rc); e2e_cleanup' EXIT
  rc=0
  headless "$PROGRAM" --from-table "$E2E_TMP/t1.csv" --name-column fájl "$E2E_TMP/small" 2>"$E2E_TMP/err" || rc=$?
  [ "$rc" = 1 ] || fail "a full folder: exit code $rc"
  written=$(ls "$E2E_TMP/small" | wc -l)
  { [ "$written" -gt 0 ] && [ "$written" -lt 50 ]; } || fail "a full folder took $written files"
  grep -m 1 -v '^QStandardPaths' "$E2E_TMP/err" | grep -q "^$E2E_TMP/t1.csv: $((written + 2))\. sor" \
    || fail "the first failure is not row $((written + 2)): $(head -n 2 "$E2E_TMP/err")"
  all_whole "$E2E_TMP/small"
  # A table that does not fit leaves the old one as it was.
  rm -f "$E2E_TMP/small"/*.tkd
  cp "$E2E_TMP/ures.csv" "$E2E_TMP/small/t.csv"
  before=$(md5sum <"$E2E_TMP/small/t.csv")
  dd if=/dev/zero of="$E2E_TMP/small/filler" bs=1k count=$(( $(df -k --output=avail "$E2E_TMP/small" | tail -n 1) - 8 )) 2>/dev/null || true
  rc=0
  headless "$PROGRAM" --table "$E2E_TMP/small/t.csv" "$E2E_TMP/in" 2>"$E2E_TMP/err" || rc=$?
  [ "$rc" = 1 ] || fail "a table into a full folder: exit code $rc"
  grep -q "t.csv: A táblázat nem írható" "$E2E_TMP/err" || fail "a table into a full folder: $(cat "$E2E_TMP/err")"
  [ "$(md5sum <"$E2E_TMP/small/t.csv")" = "$before" ] || fail "the old table was changed"
  [ "$(ls -A "$E2E_TMP/small" | sort | tr '\n' ' ')" = "filler t.csv " ] || fail "left behind: $(ls -A "$E2E_TMP/small")"
  # PDFs into a folder that fills up: those written are whole, the first that is not is named.
  rm -f "$E2E_TMP/small"/*
  umount "$E2E_TMP/small"
  mount -t tmpfs -o size=640k tmpfs "$E2E_TMP/small"
  rc=0
  headless "$PROGRAM" --pdf "$E2E_TMP/small" --jobs 1 "$E2E_TMP/in" 2>"$E2E_TMP/err" || rc=$?
  [ "$rc" = 1 ] || fail "PDFs into a full folder: exit code $rc"
  pdfs=$(ls "$E2E_TMP/small" | wc -l)
  { [ "$pdfs" -gt 0 ] && [ "$pdfs" -lt 50 ]; } || fail "a full folder took $pdfs PDFs"
  for pdf in "$E2E_TMP/small"/*.pdf; do
    pdfinfo "$pdf" >/dev/null 2>&1 || fail "$pdf is not whole"
  done
  first=$(printf 'd%02d.tkd' $((pdfs + 1)))
  grep -m 1 -v '^QStandardPaths' "$E2E_TMP/err" | grep -q "^$E2E_TMP/in/$first: A PDF nem menthető" \
    || fail "the first PDF not written is not $first: $(head -n 2 "$E2E_TMP/err")"
  [ -z "$(ls -A "$E2E_TMP/small" | grep -v '\.pdf$')" ] || fail "left behind: $(ls -A "$E2E_TMP/small")"
  umount "$E2E_TMP/small"
  trap e2e_cleanup EXIT
  echo "a full folder: $written whole files, the next one named; a table that does not fit left the old one; $pdfs whole PDFs"
else
  echo "no tmpfs to fill (not root): the full folder is not tried"
fi
echo "50 declarations to a table and back, byte for byte; bad tables refused; the table is $OUT/table-50.csv"
