#!/usr/bin/env bash
# Printing over and over under openbox, keyboard only: CYCLES times (100 unless
# TK_PRINT_CYCLES says otherwise) type a new area, open the preview (Alt+N), print it on the
# cups-pdf printer (Ctrl+P, Enter) and close it (Esc). Every job arrives whole, two A4 pages,
# each with its own cycle's area and not the one before.
PROGRAM=$1
OUT=$2
source "$(dirname "$0")/lib.sh"
mkdir -p "$OUT"

require_printer
CYCLES=${TK_PRINT_CYCLES:-100}

cat >"$E2E_TMP/print.tkd" <<'EOF'
{"format": "telekado-bevallas", "version": 1,
 "fields": {"m1": "Kovács Őrs", "m3": "15789934-2-51", "m4": "8365670003", "m27": "1500", "m28": "300"},
 "choices": {"CtlRadioGroup5": 0, "CtlRadioGroup6": 4}}
EOF

keys() { xdotool key --delay 30 "$@"; }
rss_kb() { awk '/^VmRSS:/ {print $2}' "/proc/$APP_PID/status"; }

start_xvfb 1280x1024x24
start_openbox
start_app env LANG=hu_HU.UTF-8 "$PROGRAM" "$E2E_TMP/print.tkd"
W=$(wait_window "$MAIN_TITLE_RE")
xdotool windowfocus --sync "$W"
sleep 0.5
for ((i = 0; i < 30; i++)); do keys Tab; done

# The printer's file of the job just printed, taken by the job's number (other programs may print
# meanwhile), once it is whole: cups-pdf may still be writing it when the queue is already empty.
last_job() { LC_ALL=C lpstat -W completed -o 2>/dev/null | awk '{print $1}' | sed 's/.*-//' | sort -n | tail -1; }
job_file_whole() {
  local f size
  f=$(ls "$PDF_DIR"/*-job_"$1".pdf 2>/dev/null | sed -n 1p) || return 1
  [ -n "$f" ] || return 1
  size=$(stat -c %s "$f")
  sleep 0.2
  [ "$(stat -c %s "$f")" = "$size" ] && pdfinfo "$f" >/dev/null 2>&1 || return 1
  JOB_PDF=$f
}
print_cycle() {
  local before dialog
  before=$(last_job)
  xdotool windowfocus --sync "$1" key ctrl+p
  dialog=$(wait_window '^Nyomtat$')
  sleep 0.3
  xdotool windowfocus --sync "$dialog" key Return
  wait_for 60 "cycle $c's job to complete" eval '[ -z "$(lpstat -o 2>/dev/null)" ] && [ "$(last_job)" != "$before" ]'
  wait_for 60 "cycle $c's job file to be whole" job_file_whole "$(last_job)"
}

PREVIEW_RE='^El.*k.*p$'
previous=""
for ((c = 1; c <= CYCLES; c++)); do
  value=$((3000 + c))
  # The value comes in as one paste: on a busy machine a keystroke of many may be read too late
  # and dropped, which would make the job's area another number than the cycle's.
  printf '%s' "$value" | xclip -selection clipboard
  wait_for 10 "the clipboard to hold $value" eval '[ "$(xclip -o -selection clipboard 2>/dev/null)" = "$value" ]'
  keys End BackSpace BackSpace BackSpace BackSpace BackSpace BackSpace ctrl+v Tab
  keys alt+n
  P=$(wait_window "$PREVIEW_RE")
  print_cycle "$P"
  PRINTED_PDF=$JOB_PDF
  pdfinfo "$PRINTED_PDF" | grep -q '^Pages: *2$' || fail "cycle $c: the job is not 2 pages: $(pdfinfo "$PRINTED_PDF")"
  pdfinfo "$PRINTED_PDF" | grep -q 'Page size:.*(A4)' || fail "cycle $c: the job is not A4"
  text=$(pdftotext -layout "$PRINTED_PDF" -)
  grep -qF "$value" <<<"$text" || fail "cycle $c: the job lacks its area $value"
  if [ -n "$previous" ] && grep -qF "$previous" <<<"$text"; then
    fail "cycle $c: the job holds the area $previous of the cycle before"
  fi
  grep -qF '15789934-2-51' <<<"$text" || fail "cycle $c: the job lacks the tax number"
  rm -f "$PRINTED_PDF"
  previous=$value
  close_with_escape "$P" "$PREVIEW_RE" "the preview of cycle $c"
  xdotool windowfocus --sync "$W"
  keys shift+Tab
  if ((c % 25 == 0)); then echo "cycle $c printed whole; VmRSS $(rss_kb) kB"; fi
done
echo "$CYCLES jobs printed whole, each with its own area"
