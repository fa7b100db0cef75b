# Shared helpers of the end-to-end tests: a private Xvfb, the program, waiting for conditions.
# Sourced by each test; everything started here is stopped on exit, also on failure.

set -euo pipefail

E2E_PIDS=()
e2e_cleanup() {
  local rc=$? i p
  # Newest first, each to its end: the program goes before its display, which it would
  # otherwise see die and log so.
  for ((i = ${#E2E_PIDS[@]} - 1; i >= 0; i--)); do
    p=${E2E_PIDS[$i]}
    # A process held with SIGSTOP by a test that failed would never take the TERM.
    kill -CONT "$p" 2>/dev/null || true
    kill "$p" 2>/dev/null || true
    wait "$p" 2>/dev/null || true
  done
  check_app_stderr || rc=1
  if [ -n "${E2E_TMP:-}" ]; then rm -rf "$E2E_TMP"; fi
  exit "$rc"
}
trap e2e_cleanup EXIT

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

E2E_TMP=$(mktemp -d)
# A desktop session gives its programs a runtime folder of their own; without one Qt warns.
if [ -z "${XDG_RUNTIME_DIR:-}" ]; then
  export XDG_RUNTIME_DIR="$E2E_TMP/xdg-runtime"
  mkdir -m 0700 "$XDG_RUNTIME_DIR"
fi

# The program's recovery copies and settings stay with the test: a program ended by the cleanup
# leaves its copy here, not in the user's folders for the next test to be asked about.
export XDG_DATA_HOME="$E2E_TMP/data" XDG_CONFIG_HOME="$E2E_TMP/config"

# Starts Xvfb on a free display (it picks the number itself) and exports DISPLAY. -noreset: a
# server resets when its last client leaves and refuses connections for a moment, so a helper
# that looks at the display and leaves (the accessibility bus's launcher, xprop) would make the
# program's start fail now and then.
# Usage: start_xvfb [WxHxD]
# Runs a command as from cron or over ssh: no display of any kind and no platform chosen, so
# that the program must choose its own; Hungarian numbers. A private runtime folder keeps the
# platform's remark about a missing one off standard error.
headless() {
  mkdir -m 700 -p "$E2E_TMP/runtime"
  env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM XDG_RUNTIME_DIR="$E2E_TMP/runtime" LANG=hu_HU.UTF-8 "$@"
}

start_xvfb() {
  local screen=${1:-1280x1024x24}
  local fifo="$E2E_TMP/displayfd"
  mkfifo "$fifo"
  Xvfb -displayfd 3 -noreset -screen 0 "$screen" -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
  E2E_PIDS+=($!)
  local num
  read -r -t 20 num <"$fifo" || fail "Xvfb did not start"
  export DISPLAY=":$num"
  hungarian_keymap
}

# Puts the Hungarian letters on spare keys of the display's keymap. Without them, xdotool types
# such a letter by remapping a scratch key for a moment; a program that is slow to read the key
# event reads it after the mapping went back and drops the letter (seen on a loaded machine).
hungarian_keymap() {
  local pairs=(aacute:Aacute eacute:Eacute iacute:Iacute oacute:Oacute odiaeresis:Odiaeresis
               odoubleacute:Odoubleacute uacute:Uacute udiaeresis:Udiaeresis
               udoubleacute:Udoubleacute)
  local codes i args=()
  # Keys with nothing on them, past the first (8, which X does not deliver).
  mapfile -t codes < <(xmodmap -pke | awk 'NF == 3 && $2 > 8 {print $2}')
  [ ${#codes[@]} -ge ${#pairs[@]} ] || fail "the keymap has too few spare keys"
  for i in "${!pairs[@]}"; do
    args+=(-e "keycode ${codes[$i]} = ${pairs[$i]%%:*} ${pairs[$i]#*:}")
  done
  xmodmap "${args[@]}" || fail "the keymap could not take the Hungarian letters"
}

# Waits up to $2 seconds (default 60, generous for a loaded machine) for a window whose name matches $1; prints its id.
wait_window() {
  local name=$1 limit=${2:-60} w=""
  local end=$((SECONDS + limit))
  while [ $SECONDS -le $end ]; do
    w=$(xdotool search --onlyvisible --name "$name" 2>/dev/null | sed -n 1p || true)
    if [ -n "$w" ]; then
      echo "$w"
      return 0
    fi
    sleep 0.05
  done
  fail "no window named '$name' within ${limit}s"
}

# Succeeds while no visible window's name matches $1.
no_window() {
  ! xdotool search --onlyvisible --name "$1" >/dev/null 2>&1
}

# Closes window $1 with Esc and waits until no visible window's name matches $2 ($3 names it).
close_with_escape() {
  xdotool windowfocus --sync "$1" key Escape
  wait_for 10 "$3 to close" no_window "$2"
}

# The program's standard error over every start in this test, each message with its type.
APP_STDERR="$E2E_TMP/app-stderr.log"
APP_MESSAGE_PATTERN='%{type}: %{if-category}%{category}: %{endif}%{message}'
# Messages a test provokes on purpose: an extended regular expression (empty: none).
E2E_ALLOWED_WARNINGS=${E2E_ALLOWED_WARNINGS:-}

# Shows what the program wrote on standard error; fails when Qt or the program logged a
# warning, a critical or a fatal message that the test did not allow.
check_app_stderr() {
  [ -s "$APP_STDERR" ] || return 0
  sed 's/^/program: /' "$APP_STDERR" >&2
  local bad
  bad=$(grep -E '^(warning|critical|fatal): ' "$APP_STDERR" \
        | { if [ -n "$E2E_ALLOWED_WARNINGS" ]; then grep -vE "$E2E_ALLOWED_WARNINGS"; else cat; fi; } || true)
  [ -z "$bad" ] && return 0
  echo "FAIL: the program logged warnings:" >&2
  echo "$bad" >&2
  return 1
}

# Starts the program with the given environment; its pid is in APP_PID.
start_app() {
  env -u QT_QPA_PLATFORM QT_MESSAGE_PATTERN="$APP_MESSAGE_PATTERN" "$@" 2>>"$APP_STDERR" &
  APP_PID=$!
  E2E_PIDS+=($APP_PID)
}

# Waits up to $2 seconds for process $1, a child of this shell, to end; its exit code goes to
# EXIT_RC. Not for a command substitution: a subshell cannot collect its parent's child.
wait_exit() {
  local pid=$1 limit=$2
  local end=$(( $(date +%s%N) + limit * 1000000000 ))
  while kill -0 "$pid" 2>/dev/null; do
    [ "$(date +%s%N)" -le "$end" ] || fail "process $pid still running after ${limit}s"
    sleep 0.02
  done
  EXIT_RC=0
  wait "$pid" || EXIT_RC=$?
}

# The middle of each item of the main window's menu bar, in window coordinates, y 8:
# "Fájl", "Nyomtatás", "Kitöltési útmutató", "Kilépés".
MENU_FILE_X=18
MENU_PRINT_X=76
MENU_GUIDE_X=177
MENU_EXIT_X=267

# Clicks the menu bar item at x ($2) of main window $1.
click_menu() {
  xdotool mousemove --window "$1" "$2" 8 click 1
}

# "Kilépés" of main window $1 must end the program within $2 seconds with exit code 0.
exit_through_menu() {
  click_menu "$1" "$MENU_EXIT_X"
  wait_exit "$APP_PID" "$2"
  [ "$EXIT_RC" = 0 ] || fail "exit code $EXIT_RC"
}

MAIN_TITLE='Elektronikus nyomtatvány - Hollóberény Polgármesteri Hivatal'

# Finds where the form's content lies in main window $1, shown at the screen's top-left corner
# without a window manager: the outer panel's border (#8DA4AC) starts 13 pixels below the
# content's origin. Sets FORM_WINDOW, FORM_OX and FORM_OY.
find_form() {
  FORM_WINDOW=$1
  # A window mapped and titled on a busy machine may not be painted yet: look again until it is.
  local panel_top="" end=$((SECONDS + 20))
  while :; do
    import -window root "$E2E_TMP/form.png"
    convert "$E2E_TMP/form.png" -crop 1x200+20+0 txt:"$E2E_TMP/column.txt"
    panel_top=$(grep -m1 -i '8DA4AC' "$E2E_TMP/column.txt" | sed 's/^[0-9]*,\([0-9]*\):.*/\1/' || true)
    [ -z "$panel_top" ] || break
    [ $SECONDS -le $end ] || fail "outer panel not found"
    sleep 0.1
  done
  FORM_OY=$((panel_top - 13))
  FORM_OX=0
}

# Clicks at a point given in the outer panel's coordinates (x, y); find_form first.
click_at() {
  xdotool mousemove --window "$FORM_WINDOW" $((FORM_OX + 8 + $1)) $((FORM_OY + 13 + $2)) click 1
  sleep 0.15
}
# xdotool matches names as regular expressions in the C locale: search by an ASCII prefix.
MAIN_TITLE_RE='^Elektronikus nyomtatv'

# Starts openbox on $DISPLAY and waits until it manages the screen: it announces itself
# (_NET_SUPPORTING_WM_CHECK) some tens of milliseconds before it has finished starting, the work
# area and the client list last. A window mapped in between is taken over as if by a restarted
# window manager, which a desktop session never shows a program at its start.
start_openbox() {
  openbox --sm-disable >"$E2E_TMP/openbox.log" 2>&1 &
  E2E_PIDS+=($!)
  local end=$((SECONDS + 20))
  until xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' \
        && xprop -root _NET_WORKAREA 2>/dev/null | grep -q '=' \
        && xprop -root _NET_CLIENT_LIST_STACKING 2>/dev/null | grep -q '(WINDOW)'; do
    if [ $SECONDS -gt $end ]; then
      cat "$E2E_TMP/openbox.log" >&2
      fail "openbox did not take the screen within 20s"
    fi
    sleep 0.05
  done
}

# Runs the command until it succeeds, up to $1 seconds; fails with "$2" otherwise.
wait_for() {
  local limit=$1 what=$2
  shift 2
  local end=$(( $(date +%s%N) + limit * 1000000000 ))
  until "$@" >/dev/null 2>&1; do
    [ "$(date +%s%N)" -le "$end" ] || fail "timed out waiting for $what${E2E_TMP:+$(cat "$E2E_TMP/last-frame" 2>/dev/null | sed 's/^/; the frame stood at /')}"
    sleep 0.05
  done
}

# The outer rectangle of a managed window, frame included: "x y width height".
frame_of() {
  local info extents l r t b
  info=$(xwininfo -id "$1") || return 1
  extents=$(xprop -id "$1" _NET_FRAME_EXTENTS | sed -n 's/.*= *//p' | tr -d ' ')
  IFS=, read -r l r t b <<<"${extents:-0,0,0,0}"
  local x y w h
  x=$(sed -n 's/^ *Absolute upper-left X: *//p' <<<"$info")
  y=$(sed -n 's/^ *Absolute upper-left Y: *//p' <<<"$info")
  w=$(sed -n 's/^ *Width: *//p' <<<"$info")
  h=$(sed -n 's/^ *Height: *//p' <<<"$info")
  echo "$((x - l)) $((y - t)) $((w + l + r)) $((h + t + b))"
}

# The work area of the first desktop: "x y width height".
work_area() {
  xprop -root _NET_WORKAREA | sed -n 's/.*= *//p' | tr -d ' ' | cut -d, -f1-4 | tr , ' '
}

# A private D-Bus session with the accessibility bus on it, as a desktop with a screen reader
# has them. Exports DBUS_SESSION_BUS_ADDRESS; both buses end with the test.
start_a11y_bus() {
  eval "$(dbus-launch --sh-syntax)"
  E2E_PIDS+=("$DBUS_SESSION_BUS_PID")
  export DBUS_SESSION_BUS_ADDRESS
  /usr/libexec/at-spi-bus-launcher --launch-immediately >"$E2E_TMP/a11y-bus.log" 2>&1 &
  E2E_PIDS+=($!)
  wait_for 20 "the accessibility bus" \
    dbus-send --session --dest=org.a11y.Bus --print-reply /org/a11y/bus org.a11y.Bus.GetAddress
}

# The cups-pdf printer. Without a print server this is a skip (exit 77), not a pass; under
# test.sh, which starts one and sets TK_REQUIRE_PRINTER, a failure. Sets PDF_DIR, where cups-pdf
# writes: into the job owner's home, whatever $HOME says.
require_printer() {
  if ! LC_ALL=C lpstat -r 2>/dev/null | grep -q 'is running' \
     || ! LC_ALL=C lpstat -d 2>/dev/null | grep -q '^system default destination:'; then
    [ -z "${TK_REQUIRE_PRINTER:-}" ] || fail "no default printer, though the print server should be running"
    echo "no default printer: run through test.sh, which starts the print server"
    exit 77
  fi
  PDF_DIR="$(getent passwd "$(id -un)" | cut -d: -f6)/PDF"
  mkdir -p "$PDF_DIR"
}

# Prints from preview window $1: Ctrl+P opens the print dialog, Enter confirms it; waits for the
# printer's PDF, whose path goes to PRINTED_PDF. require_printer first.
print_through_dialog() {
  local since dialog
  since=$(date +%s)
  xdotool windowfocus --sync "$1" key ctrl+p
  dialog=$(wait_window '^Nyomtat$')
  sleep 0.3
  xdotool windowfocus --sync "$dialog" key Return
  wait_printed_pdf "$since"
}

# Waits up to 60 seconds for the print queue to empty and a PDF in PDF_DIR written at or after
# $1 (seconds since the epoch); its path goes to PRINTED_PDF.
wait_printed_pdf() {
  local since=$1 newest end=$((SECONDS + 60))
  PRINTED_PDF=""
  while [ $SECONDS -le $end ]; do
    if [ -z "$(lpstat -o 2>/dev/null)" ]; then
      newest=$(ls -t "$PDF_DIR"/*.pdf 2>/dev/null | sed -n 1p || true)
      if [ -n "$newest" ] && [ "$(stat -c %Y "$newest")" -ge "$since" ]; then
        PRINTED_PDF=$newest
        return 0
      fi
    fi
    sleep 0.2
  done
  fail "no PDF arrived from the printer"
}

# A TCP port nobody listens on now.
free_port() {
  python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])'
}

# A print server of the test's own on 127.0.0.1:$1, with its configuration, queues and spool
# under $E2E_TMP/cups, so that queues come and go without touching the system's print server.
# Point the program at it with CUPS_SERVER=127.0.0.1:$1; give lpadmin and lpstat "-h 127.0.0.1:$1".
# cups-pdf writes each job into its owner's home; a job from a user the system does not know
# lands in /var/spool/cups-pdf/ANONYMOUS. Its pid is in CUPSD_PID.
start_private_cupsd() {
  local port=$1 d="$E2E_TMP/cups"
  mkdir -p "$d"/{ppd,ssl,cache,state,log,spool}
  # The filters run as user lp and must reach the server's temporary folder.
  chmod 711 "$E2E_TMP"
  chmod 755 "$d"
  mkdir -p -m 1777 "$d/tmp"
  chown root:lp "$d/spool" 2>/dev/null || true
  chmod 0710 "$d/spool"
  cat >"$d/cupsd.conf" <<CONF
Listen 127.0.0.1:$port
LogLevel warn
Browsing Off
WebInterface No
DefaultAuthType None
<Location />
  Order allow,deny
  Allow all
</Location>
<Policy default>
  <Limit All>
    Order allow,deny
    Allow all
  </Limit>
</Policy>
CONF
  cat >"$d/cups-files.conf" <<CONF
ServerRoot $d
RequestRoot $d/spool
CacheDir $d/cache
StateDir $d/state
TempDir $d/tmp
AccessLog $d/log/access_log
ErrorLog $d/log/error_log
PageLog $d/log/page_log
SystemGroup root
CONF
  /usr/sbin/cupsd -f -c "$d/cupsd.conf" -s "$d/cups-files.conf" &
  CUPSD_PID=$!
  E2E_PIDS+=($CUPSD_PID)
  wait_for 20 "the private print server on port $port" eval "LC_ALL=C lpstat -h 127.0.0.1:$port -r | grep -q 'is running'"
}

# Adds the cups-pdf queue $2 to the private print server on port $1.
add_pdf_queue() {
  lpadmin -h "127.0.0.1:$1" -p "$2" -v cups-pdf:/ -P /usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd -E 2>/dev/null
  lpadmin -h "127.0.0.1:$1" -p "$2" -o pdftops-renderer-default=pdftocairo
}

# A screen reader listening on the accessibility bus (start_a11y_bus first): speech-dispatcher
# with its dummy output module, playing into ALSA's "null" device (without a device the module
# cannot start its audio), and Orca with preferences of its own, started through orca_launch.py
# so that each utterance lands in $SPEECH_LOG as Orca speaks it. Both are stopped by pid.
start_screen_reader() {
  local dir="$E2E_TMP/speech"
  mkdir -p "$dir/conf" "$dir/orca" "$dir/log"
  cat >"$dir/conf/speechd.conf" <<CONF
AudioOutputMethod "alsa"
AudioALSADevice "null"
AddModule "dummy" "sd_dummy" ""
DefaultModule dummy
LogDir "$dir/log"
CONF
  SPEECH_SOCKET="$dir/speechd.sock"
  speech-dispatcher -s -t 0 -C "$dir/conf" -c unix_socket -S "$SPEECH_SOCKET" \
    >"$dir/speechd.out" 2>&1 &
  E2E_PIDS+=($!)
  wait_for 20 "speech-dispatcher's socket" test -S "$SPEECH_SOCKET"
  SPEECH_LOG="$dir/spoken.log"
  : >"$SPEECH_LOG"
  SPEECHD_ADDRESS="unix_socket:$SPEECH_SOCKET" /usr/bin/python3 "$(dirname "${BASH_SOURCE[0]}")/orca_launch.py" \
    "$SPEECH_LOG" -u "$dir/orca" -e speech -d braille -d braille-monitor >"$dir/orca.out" 2>&1 &
  ORCA_PID=$!
  E2E_PIDS+=($ORCA_PID)
  # Orca greets the user once it listens.
  wait_for 60 "Orca to speak its greeting" grep -q 'SPEECH OUTPUT' "$SPEECH_LOG"
}
