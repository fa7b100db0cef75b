#!/usr/bin/env bash
# The command line without any display: three declaration files into a folder, one of them
# broken, give two PDFs, one error line naming the broken file and exit code 1; one file into a
# named PDF; --check on a clean, a wrong and a broken file; --help, --version and usage errors.
PROGRAM=$1
OUT=$2
source "$(dirname "$0")/lib.sh"
mkdir -p "$OUT"

cat >"$E2E_TMP/kovacs.tkd" <<'EOF'
{
    "choices": {"CtlRadioGroup1": 0, "CtlRadioGroup5": 2, "CtlRadioGroup6": 4},
    "fields": {
        "m1": "Kovács Őrs Tűzkő",
        "m2": "Hollóberény, Fő tér 2.",
        "m3": "15789934-2-51",
        "m27": "1500",
        "m28": "300",
        "m44": "első sor\nŐŰ második sor"
    },
    "format": "telekado-bevallas",
    "version": 1
}
EOF
cat >"$E2E_TMP/nagy.tkd" <<'EOF'
{"format": "telekado-bevallas", "version": 1, "fields": {"m1": "Nagy Űrsula", "m27": "2000,5"}}
EOF
printf '{"format": "telekado-bevallas", "version": 1, "fields": {"m1": 12}}' >"$E2E_TMP/rossz.tkd"

mkdir "$E2E_TMP/pdf"
rc=0
headless "$PROGRAM" --pdf "$E2E_TMP/pdf" "$E2E_TMP/kovacs.tkd" "$E2E_TMP/rossz.tkd" "$E2E_TMP/nagy.tkd" \
  >"$E2E_TMP/stdout" 2>"$E2E_TMP/stderr" || rc=$?
[ "$rc" = 1 ] || fail "exit code $rc, not 1; stderr: $(cat "$E2E_TMP/stderr")"
[ ! -s "$E2E_TMP/stdout" ] || fail "standard output is not empty: $(cat "$E2E_TMP/stdout")"
[ "$(wc -l <"$E2E_TMP/stderr")" = 1 ] || fail "not one error line: $(cat "$E2E_TMP/stderr")"
grep -q "^$E2E_TMP/rossz.tkd: .*nem szöveg" "$E2E_TMP/stderr" || fail "the error line is '$(cat "$E2E_TMP/stderr")'"
[ "$(ls "$E2E_TMP/pdf")" = "$(printf 'kovacs.pdf\nnagy.pdf')" ] || fail "the folder holds: $(ls "$E2E_TMP/pdf")"

pdf="$E2E_TMP/pdf/kovacs.pdf"
info=$(pdfinfo "$pdf")
grep -q '^Pages: *2$' <<<"$info" || fail "not 2 pages: $info"
grep -q '(A4)' <<<"$info" || fail "not A4: $info"
grep -q '^Title: *BEVALLÁS 2006 évi telekadó$' <<<"$info" || fail "title: $info"
grep -q '^Author: *Kovács Őrs Tűzkő$' <<<"$info" || fail "author: $info"
text=$(pdftotext -layout "$pdf" -)
for want in 'Kovács Őrs Tűzkő' 'Hollóberény, Fő tér 2.' '15789934-2-51' '1500' '1200' '250.800 Ft.' \
            'első sor' 'ŐŰ második sor' '(tulajdonjog szerzés)'; do
  grep -qF "$want" <<<"$text" || fail "the PDF lacks '$want'"
done
pdftotext "$E2E_TMP/pdf/nagy.pdf" - | grep -qF 'Nagy Űrsula' || fail "nagy.pdf lacks the name"
cp "$pdf" "$OUT/cli-kovacs.pdf"

# One file into a named PDF; the name keeps what was asked for.
headless "$PROGRAM" --pdf "$E2E_TMP/egy.pdf" "$E2E_TMP/nagy.tkd" 2>"$E2E_TMP/stderr" \
  || fail "one file: exit code $?; $(cat "$E2E_TMP/stderr")"
[ ! -s "$E2E_TMP/stderr" ] || fail "one file: standard error holds $(cat "$E2E_TMP/stderr")"
pdfinfo "$E2E_TMP/egy.pdf" | grep -q '^Pages: *2$' || fail "egy.pdf is not 2 pages"

# A PDF that cannot be written leaves nothing behind.
rc=0
headless "$PROGRAM" --pdf "$E2E_TMP/nincs/ilyen.pdf" "$E2E_TMP/nagy.tkd" 2>"$E2E_TMP/stderr" || rc=$?
[ "$rc" = 1 ] || fail "a missing folder: exit code $rc"
grep -q "^$E2E_TMP/nagy.tkd: A PDF nem menthető: .*A mappa nem létezik" "$E2E_TMP/stderr" \
  || fail "a missing folder: $(cat "$E2E_TMP/stderr")"
[ ! -e "$E2E_TMP/nincs" ] || fail "a missing folder was made"

# --check: a clean file gives nothing and exit code 0; a file with one wrong check digit gives
# exactly its line and 1; a broken file an error line on standard error and 1.
sed 's/15789934-2-51/15789935-2-51/' "$E2E_TMP/kovacs.tkd" >"$E2E_TMP/hibas.tkd"
check_files() {
  rc=0
  headless "$PROGRAM" --check "$@" >"$E2E_TMP/stdout" 2>"$E2E_TMP/stderr" || rc=$?
}
check_files "$E2E_TMP/kovacs.tkd"
[ "$rc" = 0 ] && [ ! -s "$E2E_TMP/stdout" ] && [ ! -s "$E2E_TMP/stderr" ] \
  || fail "--check on a clean file: exit code $rc, '$(cat "$E2E_TMP/stdout" "$E2E_TMP/stderr")'"
check_files "$E2E_TMP/hibas.tkd"
[ "$rc" = 1 ] || fail "--check on one finding: exit code $rc"
[ "$(wc -l <"$E2E_TMP/stdout")" = 1 ] && grep -q "^$E2E_TMP/hibas.tkd: adószáma (adózó): " "$E2E_TMP/stdout" \
  || fail "--check on one finding printed '$(cat "$E2E_TMP/stdout")'"
check_files "$E2E_TMP/kovacs.tkd" "$E2E_TMP/rossz.tkd"
[ "$rc" = 1 ] && [ ! -s "$E2E_TMP/stdout" ] && [ "$(wc -l <"$E2E_TMP/stderr")" = 1 ] \
  && grep -q "rossz.tkd" "$E2E_TMP/stderr" || fail "--check on a broken file: exit code $rc, '$(cat "$E2E_TMP/stderr")'"

# --help and --version on standard output with exit code 0; a usage error on standard error, 2.
headless "$PROGRAM" --help >"$E2E_TMP/stdout" || fail "--help: exit code $?"
grep -q -- '--pdf <KIMENET>' "$E2E_TMP/stdout" || fail "--help does not list --pdf: $(cat "$E2E_TMP/stdout")"
# Qt's part of it in Hungarian as well, whatever the environment's language.
head -n 1 "$E2E_TMP/stdout" | grep -q '^Használat: telekado ' || fail "--help begins with '$(head -n 1 "$E2E_TMP/stdout")'"
version=$(headless "$PROGRAM" --version) || fail "--version: exit code $?"
[[ "$version" =~ ^telekado\ [0-9]+\.[0-9]+\.[0-9]+$ ]] || fail "--version printed '$version'"
for usage in "--bogus" "--check" "--pdf $E2E_TMP/egy.pdf" "--pdf $E2E_TMP/ketto.pdf $E2E_TMP/kovacs.tkd $E2E_TMP/nagy.tkd" \
             "$E2E_TMP/kovacs.tkd $E2E_TMP/nagy.tkd"; do
  rc=0
  # shellcheck disable=SC2086 # the arguments are split on purpose
  headless "$PROGRAM" $usage >"$E2E_TMP/stdout" 2>"$E2E_TMP/stderr" || rc=$?
  [ "$rc" = 2 ] || fail "'$usage': exit code $rc, not 2"
  grep -q '^Használat: telekado' "$E2E_TMP/stderr" || fail "'$usage': no usage on standard error"
  [ ! -s "$E2E_TMP/stdout" ] || fail "'$usage': standard output is not empty"
done
[ ! -e "$E2E_TMP/ketto.pdf" ] || fail "a usage error wrote a PDF"

# A folder stands for its declaration files, in name order; other files in it are left alone.
mkdir "$E2E_TMP/be" "$E2E_TMP/ki"
cp "$E2E_TMP/nagy.tkd" "$E2E_TMP/kovacs.tkd" "$E2E_TMP/be/"
echo 'nem bevallás' >"$E2E_TMP/be/jegyzet.txt"
headless "$PROGRAM" --pdf "$E2E_TMP/ki" "$E2E_TMP/be" 2>"$E2E_TMP/stderr" || fail "--pdf of a folder: $(cat "$E2E_TMP/stderr")"
[ "$(ls "$E2E_TMP/ki")" = "$(printf 'kovacs.pdf\nnagy.pdf')" ] || fail "--pdf of a folder wrote: $(ls "$E2E_TMP/ki")"
rc=0
headless "$PROGRAM" --check "$E2E_TMP/be" >"$E2E_TMP/stdout" 2>&1 || rc=$?
[ "$rc" = 1 ] && [ "$(cut -d: -f1 "$E2E_TMP/stdout" | uniq)" = "$E2E_TMP/be/nagy.tkd" ] \
  || fail "--check of a folder: $rc; $(cat "$E2E_TMP/stdout")"

# One form of error line for every command: the file first, then headline and reason.
mkdir "$E2E_TMP/forms"
for command in "--pdf $E2E_TMP/forms" "--check" "--scan $E2E_TMP/forms"; do
  rc=0
  # shellcheck disable=SC2086 # the arguments are split on purpose
  headless "$PROGRAM" $command "$E2E_TMP/rossz.tkd" >/dev/null 2>"$E2E_TMP/stderr" || rc=$?
  [ "$rc" = 1 ] || fail "'$command' of a broken file: exit code $rc"
  [ "$(wc -l <"$E2E_TMP/stderr")" = 1 ] && grep -q "^$E2E_TMP/rossz.tkd: [^:]*: .*\.$" "$E2E_TMP/stderr" \
    || fail "'$command': the error line is '$(cat "$E2E_TMP/stderr")'"
done

# A desktop's platform in the environment without its compositor (cron, ssh): the headless
# commands run as without it.
mkdir "$E2E_TMP/wayland"
for command in "--pdf $E2E_TMP/wayland/w.pdf $E2E_TMP/kovacs.tkd" "--check $E2E_TMP/kovacs.tkd" \
               "--scan $E2E_TMP/wayland $E2E_TMP/nagy.tkd"; do
  rc=0
  # shellcheck disable=SC2086 # the arguments are split on purpose
  env -u DISPLAY QT_QPA_PLATFORM=wayland WAYLAND_DISPLAY=nincs-ilyen XDG_RUNTIME_DIR="$E2E_TMP/runtime" \
    "$PROGRAM" $command >"$E2E_TMP/stdout" 2>"$E2E_TMP/stderr" || rc=$?
  expected=0
  [[ "$command" == --scan* ]] && expected=1 # a declaration file carries no code
  [ "$rc" = "$expected" ] || fail "'$command' under a Wayland platform without a compositor: exit code $rc; $(cat "$E2E_TMP/stderr")"
done
[ -s "$E2E_TMP/wayland/w.pdf" ] || fail "no PDF under the Wayland platform"

# Reproducible: with SOURCE_DATE_EPOCH the same declaration gives the same bytes, run after run,
# dated at that moment.
for i in 1 2 3 4 5; do
  SOURCE_DATE_EPOCH=1136073600 headless "$PROGRAM" --pdf "$E2E_TMP/ujra-$i.pdf" "$E2E_TMP/kovacs.tkd" \
    || fail "reproducible run $i: exit code $?"
  cmp "$E2E_TMP/ujra-1.pdf" "$E2E_TMP/ujra-$i.pdf" || fail "run $i gave other bytes"
  sleep 0.2
done
TZ=UTC pdfinfo "$E2E_TMP/ujra-1.pdf" | grep -q '^CreationDate: *Sun Jan  1 00:00:00 2006 UTC$' \
  || fail "the creation date: $(pdfinfo "$E2E_TMP/ujra-1.pdf" | grep CreationDate)"
# Many at once: --jobs gives the files and the error lines of the serial run, byte for byte, with
# a broken file among them and two inputs of one name (the first is written, the second named).
mkdir -p "$E2E_TMP/sok/a" "$E2E_TMP/sok/b" "$E2E_TMP/jobs1" "$E2E_TMP/jobs3"
for i in $(seq -w 1 11); do
  sed "s/Kovács Őrs Tűzkő/Kovács $i/; s/\"1500\"/\"15$i\"/" "$E2E_TMP/kovacs.tkd" >"$E2E_TMP/sok/a/d$i.tkd"
done
cp "$E2E_TMP/rossz.tkd" "$E2E_TMP/sok/a/d05.tkd"
cp "$E2E_TMP/nagy.tkd" "$E2E_TMP/sok/b/d03.tkd"
for jobs in 1 3; do
  rc=0
  SOURCE_DATE_EPOCH=1136073600 headless "$PROGRAM" --pdf "$E2E_TMP/jobs$jobs" --jobs $jobs "$E2E_TMP/sok/a" \
    "$E2E_TMP/sok/b" 2>"$E2E_TMP/jobs$jobs.err" || rc=$?
  [ "$rc" = 1 ] || fail "--jobs $jobs: exit code $rc; stderr: $(cat "$E2E_TMP/jobs$jobs.err")"
done
[ "$(wc -l <"$E2E_TMP/jobs1.err")" = 2 ] || fail "--jobs 1 did not give two lines: $(cat "$E2E_TMP/jobs1.err")"
# The lines name the output folder, which is all they may differ in.
[ "$(sed 's/jobs1/jobsN/' "$E2E_TMP/jobs1.err")" = "$(sed 's/jobs3/jobsN/' "$E2E_TMP/jobs3.err")" ] \
  || fail "--jobs 3 told otherwise: $(cat "$E2E_TMP/jobs3.err")"
diff -r "$E2E_TMP/jobs1" "$E2E_TMP/jobs3" || fail "--jobs 3 wrote other files than --jobs 1"
[ "$(ls "$E2E_TMP/jobs3" | wc -l)" = 10 ] || fail "--jobs 3 wrote: $(ls "$E2E_TMP/jobs3")"
pdftotext "$E2E_TMP/jobs3/d03.pdf" - | grep -qF 'Kovács 03' || fail "d03.pdf is not the first d03.tkd"

echo "two PDFs and one error line without a display; the PDF is in $OUT/cli-kovacs.pdf"
