#!/bin/sh
# Builds the declaration file fuzzer with clang and runs it on a copy of the seed corpus.
# Usage: run_fuzz.sh [build folder] [seconds]
set -eu
ROOT=$(cd "$(dirname "$0")/../.." && pwd)
OUT=${1:-$ROOT/build/fuzz-draft}
TIME=${2:-30}
CXX=${CXX:-clang++}

cmake -S "$ROOT/fuzz/draft" -B "$OUT" -G Ninja -DCMAKE_CXX_COMPILER="$CXX" \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTK_ROOT="$ROOT" >"$OUT.configure.log" 2>&1 \
  || { cat "$OUT.configure.log"; exit 1; }
cmake --build "$OUT"

# A 50 MB text value, too big to keep in the repository: run once on its own, since the
# timed run cuts its inputs to max_len.
HUGE="$OUT/huge-value.tkd"
{
  printf '{"format": "telekado-bevallas", "version": 1, "fields": {"m1": "'
  head -c 50000000 /dev/zero | tr '\000' 'a'
  printf '"}}'
} >"$HUGE"
ASAN_OPTIONS=detect_leaks=0 "$OUT/fuzz_draft" -rss_limit_mb=2048 "$HUGE"

# Seeds: valid and broken declaration files; new finds stay in the build.
mkdir -p "$OUT/corpus"
cp "$ROOT"/fuzz/draft/corpus/* "$OUT/corpus/"

ASAN_OPTIONS=detect_leaks=0 "$OUT/fuzz_draft" \
  -max_total_time="$TIME" -max_len=65536 -timeout=10 -rss_limit_mb=2048 \
  -dict="$ROOT/fuzz/draft/draft.dict" -artifact_prefix="$OUT/" -print_final_stats=1 "$OUT/corpus"
