#!/usr/bin/env bash
# Times the batch tool's start-up: the mean wall time of `--help` and of a
# load + save of the big sounding (10000 readings x 10 channels), over RUNS
# runs each, for every quillmere-cli given (default: the one in build/). Give
# an older build's tool beside the new one to see whether a change made the
# runs that draw nothing slower:
#
#   bash bench/startup_bench.sh old/bin/quillmere-cli build/bin/quillmere-cli
#
# BUILD: the build folder whose file_bench writes the big sounding (default build).
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${RUNS:-200}
build=${BUILD:-build}
[ "$#" -gt 0 ] || set -- "$build/bin/quillmere-cli"
cmake --build "$build" --target file_bench >/dev/null

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$build"/bin/file_bench --write-big "$work/big.cpt"

mean_ms() {  # the mean wall time of RUNS runs of the command, in milliseconds
  local start end
  start=$(date +%s%N)
  for _ in $(seq "$runs"); do "$@" >/dev/null 2>&1; done
  end=$(date +%s%N)
  echo "scale=2; ($end - $start) / $runs / 1000000" | bc
}

for cli in "$@"; do
  "$cli" --help >/dev/null  # warm the page cache
  help=$(mean_ms "$cli" --help)
  save=$(mean_ms "$cli" --tables "$build/bin" "$work/big.cpt" --save "$work/out.cpt" --force)
  printf '%s\n  --help:                 %8s ms\n  load + save 10000 x 10: %8s ms\n' "$cli" "$help" "$save"
done
