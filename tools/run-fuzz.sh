#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for a bounded time.
#
#   bash tools/run-fuzz.sh [SECONDS_PER_TARGET] [TARGET...]
#
# SECONDS_PER_TARGET defaults to 60; the targets default to all of them:
#   sounding_reader second_file_reader channel_table text_to_number
#   cell_entry gps_sentence leading_number gef_reader ags_reader
# Targets run two at a time (QM_FUZZ_PARALLEL). QM_FUZZ_SEED fixes the
# fuzzer's random seed (the test command sets it, so its runs repeat). The corpus each one grows is
# kept in build-fuzz/corpus/<target> and picked up by the next run. An input
# that breaks a check is written to build-fuzz/artifacts/<target>/; copy it
# into fuzz/regressions/<target>/ once it is fixed, and the test suite
# replays it from then on.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/install-deps.sh

seconds=${1:-60}
shift || true
targets=("$@")
if [ "${#targets[@]}" -eq 0 ]; then
  targets=(sounding_reader second_file_reader channel_table text_to_number cell_entry gps_sentence leading_number gef_reader ags_reader)
fi
parallel=${QM_FUZZ_PARALLEL:-2}
build=build-fuzz

cmake -S . -B "$build" -DCMAKE_CXX_COMPILER=clang++-16 -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DQUILLMERE_FUZZ=ON -DQUILLMERE_WITH_UI=OFF -DQUILLMERE_BENCH=OFF > /dev/null
cmake --build "$build" -j"$(nproc)" --target "${targets[@]/#/fuzz_}"

dictionary_of() {
  case "$1" in
    sounding_reader|second_file_reader) echo fuzz/dictionaries/sounding.dict ;;
    channel_table) echo fuzz/dictionaries/table.dict ;;
    gps_sentence) echo fuzz/dictionaries/gps.dict ;;
    gef_reader) echo fuzz/dictionaries/gef.dict ;;
    ags_reader) echo fuzz/dictionaries/ags.dict ;;
    *) echo fuzz/dictionaries/numbers.dict ;;
  esac
}

# Seeds: the committed ones, every kept regression input, and for the file
# readers the shipped samples and tables.
prepare_seeds() {
  local target=$1 seeds="$build/seeds/$1"
  rm -rf "$seeds"
  mkdir -p "$seeds" "$build/corpus/$target" "$build/artifacts/$target"
  cp fuzz/seeds/"$target"/* "$seeds"/ 2>/dev/null || true
  cp fuzz/regressions/"$target"/* "$seeds"/ 2>/dev/null || true
  case "$target" in
    sounding_reader|second_file_reader)
      # The samples cut to their header, first readings and last line (the
      # final baseline): small inputs run many times faster, and the
      # mutations reach the same code.
      for f in data/samples/*.cpt; do
        { head -n 48 "$f"; tail -n 1 "$f"; } > "$seeds/$(basename "$f")"
      done ;;
    channel_table)
      # The first byte chooses the type the table is read as.
      for t in $(seq 1 20); do
        [ -f "data/Channel$t.txt" ] || continue
        { printf "\\$(printf '%03o' $((t - 1)))"; cat "data/Channel$t.txt"; } > "$seeds/Channel$t"
      done ;;
  esac
}

run_one() {
  local target=$1 seconds=$2 build=$3
  local log="$build/logs/$target.log"
  local seed=()
  if [ -n "${QM_FUZZ_SEED:-}" ]; then seed=(-seed="$QM_FUZZ_SEED"); fi
  # ASan's own options for the fuzzer; leaks are not looked for, as in the
  # test suite.
  ASAN_SYMBOLIZER_PATH=/usr/lib/llvm-16/bin/llvm-symbolizer ASAN_OPTIONS=detect_leaks=0:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    "$build/bin/fuzz_$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2560 \
      -dict="$(dictionary_of "$target")" -artifact_prefix="$build/artifacts/$target/" \
      -print_final_stats=1 "${seed[@]}" "$build/corpus/$target" "$build/seeds/$target" > "$log" 2>&1
  local status=$?
  local runs
  runs=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$log" | grep -o '[0-9]*$' || echo "?")
  if [ $status -eq 0 ]; then
    echo "fuzz_$target: $runs runs in ${seconds} s, no failure"
  else
    echo "fuzz_$target: FAILED after $runs runs (exit $status); log: $log"
    grep -E "PropertyFailure|ERROR: |runtime error|SUMMARY|what\(\)" "$log" | head -5
  fi
  return $status
}
export -f run_one dictionary_of

mkdir -p "$build/logs"
for t in "${targets[@]}"; do prepare_seeds "$t"; done
printf '%s\n' "${targets[@]}" | xargs -P "$parallel" -I{} bash -c 'run_one "$@"' _ {} "$seconds" "$build"
