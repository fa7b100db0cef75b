#!/bin/sh
# Builds the RTF fuzzer with clang and runs it on a copy of the seed corpus.
# Usage: run_fuzz.sh [build folder] [seconds]
set -eu
ROOT=$(cd "$(dirname "$0")/../.." && pwd)
OUT=${1:-$ROOT/build/fuzz-rtf}
TIME=${2:-30}
CXX=${CXX:-clang++}

cmake -S "$ROOT/fuzz/rtf" -B "$OUT" -G Ninja -DCMAKE_CXX_COMPILER="$CXX" \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTK_ROOT="$ROOT" >"$OUT.configure.log" 2>&1 \
  || { cat "$OUT.configure.log"; exit 1; }
cmake --build "$OUT"

# Seeds: every RTF the program carries plus hand-made broken inputs; new finds stay in the build.
mkdir -p "$OUT/corpus"
cp "$ROOT"/app/guide/rtf/*.rtf "$ROOT"/fuzz/rtf/corpus/* "$OUT/corpus/"

QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=0 "$OUT/fuzz_rtf" \
  -max_total_time="$TIME" -max_len=16384 -timeout=10 -rss_limit_mb=2048 \
  -dict="$ROOT/fuzz/rtf/rtf.dict" -artifact_prefix="$OUT/" -print_final_stats=1 "$OUT/corpus"
