#!/usr/bin/env bash
# Times the batch tool's start-up: `--help`, and a load + save of the big
# sounding (10000 readings x 10 channels), for every quillmere-cli given
# (default: the one in build/). Give an older build's tool beside the new one
# to see whether a change made the runs that draw nothing slower:
#
#   bash bench/startup_bench.sh old/bin/quillmere-cli build/bin/quillmere-cli
#
# The tools take turns run by run, so a busy machine weighs on all of them
# alike; each figure is the median and the fastest of RUNS runs (default 200).
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

once() {  # the wall time of one run of the command, in microseconds
  local start end
  start=$(date +%s%N)
  "$@" >/dev/null 2>&1
  end=$(date +%s%N)
  echo $(((end - start) / 1000))
}
summary() {  # median and fastest of the numbers in file $1, in ms
  sort -n "$1" | awk '{ t[NR] = $1 } END { printf "median %7.2f ms, fastest %7.2f ms", t[int((NR + 1) / 2)] / 1000, t[1] / 1000 }'
}

for ((i = 1; i <= runs; i++)); do
  n=0
  for cli in "$@"; do
    n=$((n + 1))
    once "$cli" --help >> "$work/help.$n"
    once "$cli" --tables "$build/bin" "$work/big.cpt" --save "$work/out.cpt" --force >> "$work/save.$n"
  done
done
n=0
for cli in "$@"; do
  n=$((n + 1))
  echo "$cli"
  echo "  --help:                 $(summary "$work/help.$n")"
  echo "  load + save 10000 x 10: $(summary "$work/save.$n")"
done
