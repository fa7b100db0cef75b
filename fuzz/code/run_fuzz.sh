#!/bin/sh
# Builds the 2D code reader's fuzzer with clang and runs it on a copy of the seed corpus.
# Usage: run_fuzz.sh [build folder] [seconds]
set -eu
. "$(dirname "$0")/../common.sh"
OUT=${1:-$ROOT/build/fuzz-code}
TIME=${2:-30}

fuzz_build code "$OUT"

# Seeds: codes that read and codes that are refused; new finds stay in the build.
mkdir -p "$OUT/corpus"
cp "$ROOT"/fuzz/code/corpus/* "$OUT/corpus/"

fuzz_run code "$OUT" "$TIME" 8192
