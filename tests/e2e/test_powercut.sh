#!/usr/bin/env bash
# A power cut, as near as this machine comes to one: the program is killed with kill -9 at a
# random moment around the writing of its recovery copy, and started again, round after round.
# Each start brings the last copy back and changes the name to the round's number; whatever the
# moment of the kill, the copy found afterwards is whole and holds either the previous round's
# name or this round's, never anything in between.
# Usage: test_powercut.sh PROGRAM OUT [ROUNDS]   (TK_POWERCUT_ROUNDS also sets the rounds)
PROGRAM=$1
OUT=$2
ROUNDS=${3:-${TK_POWERCUT_ROUNDS:-20}}
source "$(dirname "$0")/lib.sh"
mkdir -p "$OUT"

REC=$XDG_DATA_HOME/telekado/recovery
keys() { xdotool key --delay 20 "$@"; }
copies() { ls "$REC"/*.tkr 2>/dev/null || true; }
# The name a whole copy holds; nothing (and failure) for a copy that is not whole.
copy_name() {
  /usr/bin/python3 -c '
import json, sys
root = json.load(open(sys.argv[1], encoding="utf-8"))
assert root["format"] == "telekado-helyreallitas"
print(root["declaration"]["fields"]["m1"])' "$1"
}

start_xvfb 1280x2048x24
previous=""
written=0
for ((round = 1; round <= ROUNDS; round++)); do
  start_app env LANG=C.UTF-8 "$PROGRAM"
  W=$(wait_window "$MAIN_TITLE_RE")
  if [ -n "$previous" ]; then
    Q=$(wait_window '^telekado$')
    xdotool windowfocus --sync "$Q" key Return
    wait_for 10 "the question to close" no_window '^telekado$'
  fi
  xdotool windowfocus --sync "$W"
  # Into the name field, whose text the Tab selects: the round's number replaces it.
  keys Tab Tab
  xdotool type --delay 10 "$round"
  # The copy is due two seconds after the change; the kill falls anywhere from before it to after.
  sleep "$(awk -v r="$RANDOM" 'BEGIN { printf "%.3f", 1.6 + (r % 800) / 1000 }')"
  kill -9 "$APP_PID"
  wait_exit "$APP_PID" 10
  found=$(copies)
  [ "$(wc -w <<<"$found")" -le 1 ] || fail "round $round: more than one copy: $found"
  if [ -z "$found" ]; then
    [ -z "$previous" ] || fail "round $round: the previous copy is gone"
    continue # killed before the first copy was written
  fi
  name=$(copy_name "$found") || { cp "$found" "$OUT/powercut-broken.tkr"; fail "round $round: the copy is not whole"; }
  case "$name" in
    "$round") previous=$round ;;
    "$previous") ;;
    *) fail "round $round: the copy holds '$name', neither $previous nor $round" ;;
  esac
  written=$((written + (name == round)))
done
echo "$ROUNDS kills: every copy whole, the new one written in ${written:-0} rounds, the old one kept in the others"
