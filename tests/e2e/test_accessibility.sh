#!/usr/bin/env bash
# The form as a screen reader sees it, through AT-SPI: every field found by its caption with its
# role; the tax number typed with the keyboard read back; "jogi személy" chosen and checked; the
# tax readable after two areas; out-of-range requests answered; a client that vanishes while
# events are sent leaves the program working; Alt+L ends it.
PROGRAM=$1
OUT=$2
source "$(dirname "$0")/lib.sh"
mkdir -p "$OUT"

PY=/usr/bin/python3
if [ ! -x /usr/libexec/at-spi-bus-launcher ] || ! command -v dbus-launch >/dev/null \
    || ! "$PY" -c 'import pyatspi' 2>/dev/null; then
  echo "SKIP: at-spi2-core, dbus-x11 or python3-pyatspi missing"
  exit 77
fi
client() { "$PY" "$(dirname "$0")/atspi_client.py" "$@"; }
# The probe below asks on purpose for positions outside the texts; Qt's accessible view of a
# multi-line text edit hands them to its text cursor, which says so on standard error.
E2E_ALLOWED_WARNINGS="^warning: QTextCursor::setPosition: Position '-?[0-9]+' out of range$"

start_xvfb 1280x2048x24
start_a11y_bus
start_app env QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 LANG=hu_HU.UTF-8 "$PROGRAM"
W=$(wait_window "$MAIN_TITLE_RE")
xdotool windowfocus --sync "$W"
client wait-app 20

client check-tree

# Keyboard alone: from the start, Tab reaches panel I, "neve", "cime", then the tax number.
xdotool key Tab Tab Tab Tab
client focused "adószáma" "adózó"
xdotool type --delay 20 12345678
client text "adószáma" "adózó" "12345678     "

# A screen reader presses the option; the tree shows it checked, and only it.
client press "jogi személy"
client checked "jogi személy"

# Two areas typed; the tax is read from its label.
client focus "a. az ingatlannyilvántartásba bejegyzett földterület teljes területe" ""
xdotool type --delay 20 1500
xdotool key Tab
client focused "b. épület és épületnek nem minősülő épitmény alapterülete" ""
xdotool type --delay 20 300
xdotool key Tab
client text "c. beépitetlen belterületi földrészlet (a-b)" "" "1200"
client text "fizetendő adó" "" "250.800 Ft."

client probe

# A client listening to the events disappears while the user goes on typing.
# Started directly, not through the client function: a function sent to the background runs in a
# subshell, whose pid is not the listener's, and killing it would leave the listener running.
"$PY" "$(dirname "$0")/atspi_client.py" listen >"$E2E_TMP/listen.log" 2>&1 &
LISTEN_PID=$!
E2E_PIDS+=($LISTEN_PID)
wait_for 20 "the listener to start" grep -q listening "$E2E_TMP/listen.log"
client focus "adóazonositó jele" "1. tulajdonostárs"
xdotool type --delay 60 1234567890 &
TYPE_PID=$!
wait_for 20 "the listener to hear the typing" grep -q 'object:text-changed' "$E2E_TMP/listen.log"
kill -9 "$LISTEN_PID"
wait "$TYPE_PID"
kill -0 "$APP_PID" 2>/dev/null || fail "the program ended when the client vanished"
client text "adóazonositó jele" "1. tulajdonostárs" "1234567890"
client check-tree filled >/dev/null || fail "the tree is no longer whole"
import -window root "$OUT/accessibility.png"

# Alt+L, the accelerator of "Kilépés", asks about the typed form; "Nem" (Tab from the default
# "Igen") ends the program. Waited for in this shell, not in a command substitution: a subshell
# cannot collect the exit code of a program that ends after it was forked (a slow exit, as under
# the sanitizers, would read as -1).
xdotool key alt+l
Q=$(wait_window '^telekado$')
xdotool windowfocus --sync "$Q" key Tab space
end=$((SECONDS + 20))
while kill -0 "$APP_PID" 2>/dev/null; do
  [ $SECONDS -le $end ] || fail "the program did not end after Alt+L"
  sleep 0.05
done
rc=0
wait "$APP_PID" || rc=$?
[ "$rc" = 0 ] || fail "exit code $rc"
echo "the screen reader's view checked"
