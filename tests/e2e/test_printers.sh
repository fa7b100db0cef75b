#!/usr/bin/env bash
# Printers that come and go while the program runs, on a print server of the test's own: first
# one that accepts and never answers, then none at all ("Nincs nyomtató telepítve" both times,
# the first within the program's wait), then one with a cups-pdf queue, which the next print
# offers and prints on. Its queue deleted, the next print falls back to the server's other queue;
# that one deleted while the dialog is open, the job ends with the printer's error, once, and
# the preview goes on. The program ends normally.
PROGRAM=$1
OUT=$2
source "$(dirname "$0")/lib.sh"
# The printers come and go on purpose here: the program's warnings about a silent server and a
# vanished printer are what the test provokes.
E2E_ALLOWED_WARNINGS="^warning: telekado\.report\.print: (the print server did not answer within [0-9]+ ms: no printer is offered|printer [A-Za-z0-9]+ is gone or invalid|printer [A-Za-z0-9]+ went away during the job)$"
mkdir -p "$OUT"

[ -x /usr/sbin/cupsd ] && [ -x /usr/lib/cups/backend/cups-pdf ] && [ "$(id -u)" = 0 ] || {
  [ -z "${TK_REQUIRE_PRINTER:-}" ] || fail "cupsd and cups-pdf are missing, or not root"
  echo "cupsd, cups-pdf or root missing: a print server of the test's own cannot run"
  exit 77
}

PORT=$(free_port)
SERVER="127.0.0.1:$PORT"
ANON_DIR=/var/spool/cups-pdf/ANONYMOUS
# A job owner the system does not know: cups-pdf writes into ANON_DIR, never beside the
# system's printers' output.
JOB_USER="tk-e2e-$$"

# A print server that accepts connections and never answers.
python3 -c '
import socket, sys, time
s = socket.socket(); s.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
s.bind(("127.0.0.1", int(sys.argv[1]))); s.listen(16)
held = []
while True:
    held.append(s.accept()[0])
' "$PORT" &
SILENT_PID=$!
E2E_PIDS+=($SILENT_PID)
wait_for 10 "the silent server" eval "python3 -c 'import socket; socket.create_connection((\"127.0.0.1\", $PORT))'"

start_xvfb 1280x1024x24
start_app env LANG=hu_HU.UTF-8 CUPS_SERVER="$SERVER" CUPS_USER="$JOB_USER" "$PROGRAM"
W=$(wait_window "$MAIN_TITLE_RE")
xdotool windowfocus --sync "$W"
sleep 0.5

# The untouched form: "Ellenőrzés" first, "Nyomtatás így is" (Alt+N) goes on to the preview.
click_menu "$W" "$MENU_PRINT_X"
C=$(wait_window '^Ellen')
xdotool windowfocus --sync "$C" key alt+n
P=$(wait_window '^El.*k.*p$')
sleep 0.5

# Ctrl+P, answered by "Nincs nyomtató telepítve" ("Hiba"); Return closes the box. $1 bounds the
# wait. Exactly one box comes.
no_printer_box() {
  xdotool windowfocus --sync "$P" key ctrl+p
  local box
  box=$(wait_window '^Hiba$' "$1")
  import -window root "$OUT/printers-no-printer.png"
  xdotool windowfocus --sync "$box" key Return
  wait_for 10 "the \"Hiba\" box to close" no_window '^Hiba$'
  sleep 0.5
  no_window '^Hiba$' || fail "a second \"Hiba\" box came"
}

# The silent server is waited for a bounded time, then there is no printer.
start=$(date +%s%N)
no_printer_box 40
waited=$(( ($(date +%s%N) - start) / 1000000 ))
echo "a print server that never answers: \"Nincs nyomtató telepítve\" after $waited ms"
[ "$waited" -ge 9000 ] && [ "$waited" -le 30000 ] || fail "the silent server was waited for $waited ms, not about 10 s"

# No server at all: at once.
kill "$SILENT_PID"
wait "$SILENT_PID" 2>/dev/null || true
start=$(date +%s%N)
no_printer_box 10
echo "no print server: \"Nincs nyomtató telepítve\" after $(( ($(date +%s%N) - start) / 1000000 )) ms"

# The print server starts with a cups-pdf queue, its default.
start_private_cupsd "$PORT"
add_pdf_queue "$PORT" TKPDF
lpadmin -h "$SERVER" -d TKPDF

# Ctrl+P opens the dialog, Return prints on the current printer; waits for the job on queue $1
# to complete and its PDF, whose path goes to PRINTED_PDF.
print_on() {
  local queue=$1 before id pdf dialog since
  before=$(lpstat -h "$SERVER" -W completed -o "$queue" 2>/dev/null | wc -l)
  since=$(date +%s)
  xdotool windowfocus --sync "$P" key ctrl+p
  dialog=$(wait_window '^Nyomtat$' 20)
  sleep 0.3
  import -window root "$OUT/printers-dialog-$queue.png"
  xdotool windowfocus --sync "$dialog" key Return
  wait_for 60 "a completed job on $queue" eval \
    "[ \$(lpstat -h '$SERVER' -W completed -o '$queue' 2>/dev/null | wc -l) -gt $before ]"
  id=$(lpstat -h "$SERVER" -W completed -o "$queue" | sed -n "s/^$queue-\([0-9]*\) .*/\1/p" | sort -n | tail -n1)
  # Another run's file of the same job number may lie there: only one written since counts.
  newest_of_job() { find "$ANON_DIR" -maxdepth 1 -name "*job_$id.pdf" -newermt "@$since" | sed -n 1p; }
  wait_for 30 "the PDF of job $id" eval '[ -n "$(newest_of_job)" ]'
  pdf=$(newest_of_job)
  # cups-pdf writes the file as the job ends: wait until it stops growing.
  wait_for 10 "the PDF of job $id to be whole" eval "pdfinfo '$pdf'"
  cp "$pdf" "$OUT/printers-$queue.pdf"
  rm -f "$pdf"
  pdftotext "$OUT/printers-$queue.pdf" - | grep -q 'BEVALL' || fail "the PDF of $queue is not the declaration"
  [ "$(pdfinfo "$OUT/printers-$queue.pdf" | sed -n 's/^Pages: *//p')" = 2 ] || fail "the PDF of $queue has not 2 pages"
}

# The queue that appeared is offered and printed on, without restarting the program.
print_on TKPDF
echo "the queue that appeared printed the declaration"

# A second queue comes, the first goes: the next print falls back to what the server lists.
add_pdf_queue "$PORT" TKPDF2
lpadmin -h "$SERVER" -x TKPDF
print_on TKPDF2
echo "with TKPDF deleted, the print fell back to TKPDF2"

# The last queue goes while the dialog is open: the job ends with the printer's error, in one box
# under the program's name.
xdotool windowfocus --sync "$P" key ctrl+p
D=$(wait_window '^Nyomtat$' 20)
lpadmin -h "$SERVER" -x TKPDF2
sleep 0.3
xdotool windowfocus --sync "$D" key Return
E=$(wait_window '^telekado$' 20)
import -window root "$OUT/printers-gone.png"
xdotool windowfocus --sync "$E" key Return
wait_for 10 "the error box to close" no_window '^telekado$'
sleep 0.5
no_window '^telekado$' || fail "the printer's error came twice"
no_window '^Nyomtat$' || fail "the print dialog stayed open"

# The preview goes on: with no queue left, the next print says so.
no_printer_box 20
close_with_escape "$P" '^El.*k.*p$' "the preview"
exit_through_menu "$W" 10
echo "printers came and went; no crash; screenshots and PDFs in $OUT"
