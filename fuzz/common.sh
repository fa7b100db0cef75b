# Shared by the fuzzers' run_fuzz.sh scripts, which source it: ROOT, the repository root, and
# the building and running of one fuzz target, fuzz/<name>.

ROOT=$(cd "$(dirname "$0")/../.." && pwd)

# fuzz_build NAME OUT: builds fuzz_NAME with clang ($CXX) in the folder OUT.
fuzz_build() {
  cmake -S "$ROOT/fuzz/$1" -B "$2" -G Ninja -DCMAKE_CXX_COMPILER="${CXX:-clang++}" \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTK_ROOT="$ROOT" >"$2.configure.log" 2>&1 \
    || { cat "$2.configure.log"; exit 1; }
  cmake --build "$2"
}

# fuzz_once NAME OUT FILE: runs the target once on FILE, an input longer than the timed run's
# max_len, under the same memory bound.
fuzz_once() {
  ASAN_OPTIONS=detect_leaks=0 "$2/fuzz_$1" -rss_limit_mb=2048 "$3"
}

# fuzz_run NAME OUT SECONDS MAXLEN: fuzzes for SECONDS, starting from OUT/corpus, with the
# target's dictionary; new finds stay in OUT.
fuzz_run() {
  ASAN_OPTIONS=detect_leaks=0 "$2/fuzz_$1" \
    -max_total_time="$3" -max_len="$4" -timeout=10 -rss_limit_mb=2048 \
    -dict="$ROOT/fuzz/$1/$1.dict" -artifact_prefix="$2/" -print_final_stats=1 "$2/corpus"
}
