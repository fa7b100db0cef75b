# Shared helpers of the end-to-end tests: a private Xvfb, the program, waiting for conditions.
# Sourced by each test; everything started here is stopped on exit, also on failure.

set -euo pipefail

E2E_PIDS=()
e2e_cleanup() {
  local p
  for p in "${E2E_PIDS[@]}"; do
    kill "$p" 2>/dev/null || true
  done
  for p in "${E2E_PIDS[@]}"; do
    wait "$p" 2>/dev/null || true
  done
  if [ -n "${E2E_TMP:-}" ]; then rm -rf "$E2E_TMP"; fi
}
trap e2e_cleanup EXIT

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

E2E_TMP=$(mktemp -d)

# Starts Xvfb on a free display (it picks the number itself) and exports DISPLAY.
# Usage: start_xvfb [WxHxD]
start_xvfb() {
  local screen=${1:-1280x1024x24}
  local fifo="$E2E_TMP/displayfd"
  mkfifo "$fifo"
  Xvfb -displayfd 3 -screen 0 "$screen" -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
  E2E_PIDS+=($!)
  local num
  read -r -t 20 num <"$fifo" || fail "Xvfb did not start"
  export DISPLAY=":$num"
}

# Waits up to $2 seconds (default 20) for a window whose name matches $1; prints its id.
wait_window() {
  local name=$1 limit=${2:-20} w=""
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

# Starts the program with the given environment; its pid is in APP_PID.
start_app() {
  env -u QT_QPA_PLATFORM "$@" &
  APP_PID=$!
  E2E_PIDS+=($APP_PID)
}

# Waits up to $2 seconds for process $1 to end and prints its exit code.
wait_exit() {
  local pid=$1 limit=$2
  local end=$(( $(date +%s%N) + limit * 1000000000 ))
  while kill -0 "$pid" 2>/dev/null; do
    [ "$(date +%s%N)" -le "$end" ] || fail "process $pid still running after ${limit}s"
    sleep 0.02
  done
  local rc=0
  wait "$pid" || rc=$?
  echo "$rc"
}

MAIN_TITLE='Elektronikus nyomtatvány - Hollóberény Polgármesteri Hivatal'
# xdotool matches names as regular expressions in the C locale: search by an ASCII prefix.
MAIN_TITLE_RE='^Elektronikus nyomtatv'
