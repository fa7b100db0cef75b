#!/bin/sh
# Builds the RTF fuzzer with clang and runs it on a copy of the seed corpus.
# Usage: run_fuzz.sh [build folder] [seconds]
set -eu
. "$(dirname "$0")/../common.sh"
OUT=${1:-$ROOT/build/fuzz-rtf}
TIME=${2:-30}

fuzz_build rtf "$OUT"

# Seeds: every RTF the program carries plus hand-made broken inputs; new finds stay in the build.
mkdir -p "$OUT/corpus"
cp "$ROOT"/app/guide/rtf/*.rtf "$ROOT"/fuzz/rtf/corpus/* "$OUT/corpus/"

export QT_QPA_PLATFORM=offscreen
fuzz_run rtf "$OUT" "$TIME" 16384
