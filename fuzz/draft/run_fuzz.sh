#!/bin/sh
# Builds the declaration file fuzzer with clang and runs it on a copy of the seed corpus.
# Usage: run_fuzz.sh [build folder] [seconds]
set -eu
. "$(dirname "$0")/../common.sh"
OUT=${1:-$ROOT/build/fuzz-draft}
TIME=${2:-30}

fuzz_build draft "$OUT"

# A 50 MB text value, too big to keep in the repository: run once on its own, since the
# timed run cuts its inputs to max_len.
HUGE="$OUT/huge-value.tkd"
{
  printf '{"format": "telekado-bevallas", "version": 1, "fields": {"m1": "'
  head -c 50000000 /dev/zero | tr '\000' 'a'
  printf '"}}'
} >"$HUGE"
fuzz_once draft "$OUT" "$HUGE"

# Seeds: valid and broken declaration files; new finds stay in the build.
mkdir -p "$OUT/corpus"
cp "$ROOT"/fuzz/draft/corpus/* "$OUT/corpus/"

fuzz_run draft "$OUT" "$TIME" 65536
