#!/usr/bin/env bash
# Builds and runs every benchmark under a private Xvfb and prints their results.
# Usage: bench/run.sh [benchmark-name-filter]
set -euo pipefail
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
source "$ROOT/tools/setup.sh"
tk_install_packages
tk_build

fifo=$(mktemp -u); mkfifo "$fifo"
# -noreset: a server that resets when its last client leaves refuses the next connection for a
# moment, which would cut a repetition of the start-up benchmark short.
Xvfb -displayfd 3 -noreset -screen 0 1280x1024x24 -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
XVFB_PID=$!
trap 'kill $XVFB_PID 2>/dev/null || true; rm -f "$fifo"' EXIT
read -r -t 20 num <"$fifo"
export DISPLAY=":$num"

filter=${1:-}
find "$TK_BUILD/bench" -type f -executable -name 'bench_*' | sort | while read -r b; do
  name=$(basename "$b")
  if [ -n "$filter" ] && [[ "$name" != *"$filter"* ]]; then continue; fi
  echo "== $name"
  QT_QPA_PLATFORM=offscreen "$b" --benchmark_counters_tabular=true
done
