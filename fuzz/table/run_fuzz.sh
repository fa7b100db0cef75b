#!/bin/sh
# Builds the table reader's fuzzer with clang and runs it on a copy of the seed corpus.
# Usage: run_fuzz.sh [build folder] [seconds]
set -eu
. "$(dirname "$0")/../common.sh"
OUT=${1:-$ROOT/build/fuzz-table}
TIME=${2:-30}

fuzz_build table "$OUT"

# A record that never ends within the bound, too big to keep in the repository: run once on
# its own, since the timed run cuts its inputs to max_len.
HUGE="$OUT/huge-record.csv"
{
  printf 'fájl;adózó: neve\r\na.tkd;"'
  head -c 20000000 /dev/zero | tr '\000' 'a'
  printf '"\r\n'
} >"$HUGE"
fuzz_once table "$OUT" "$HUGE"

# Seeds: tables that read and tables that are refused; new finds stay in the build.
mkdir -p "$OUT/corpus"
cp "$ROOT"/fuzz/table/corpus/* "$OUT/corpus/"

fuzz_run table "$OUT" "$TIME" 16384
