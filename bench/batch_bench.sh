#!/usr/bin/env bash
# Times the batch tool on many soundings: 1000 soundings of 1000 readings x 6
# channels, `--auto-clean --save out/{name}`, as a shell loop calling the tool
# once per file, as one run with --jobs 1 and as one run with --jobs 2; then
# the in-process load and save of the big sounding (file_bench). Prints each
# figure and the ratios of one run. Builds what it needs in build-bench/.
set -euo pipefail
cd "$(dirname "$0")/.."
count=${COUNT:-1000}

# BENCH_BUILD_DIR: an already configured build folder to use instead.
bench=${BENCH_BUILD_DIR:-build-bench}
[ -n "${BENCH_BUILD_DIR:-}" ] || cmake -S . -B "$bench" -DCMAKE_BUILD_TYPE=Release -DQUILLMERE_WITH_UI=OFF -DQUILLMERE_BENCH=ON >/dev/null
cmake --build "$bench" -j"$(nproc)" --target quillmere-cli file_bench >/dev/null

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/in" "$work/tables" "$work/loop" "$work/jobs1" "$work/jobs2"
for t in $(seq 1 10); do
  printf 'a,b,c,d,e,f,g,h,i,j,k,l,m,2,KPA,####0.0,1,MPA,##0.000,0.001\r\n' > "$work/tables/Channel$t.txt"
done
"$bench"/bin/file_bench --write-many "$work/in" "$count" 1000 6
cli="$bench/bin/quillmere-cli"

seconds() {  # wall time of the command in seconds
  local start end
  start=$(date +%s.%N); "$@" >/dev/null 2>&1 || true; end=$(date +%s.%N)
  echo "$end - $start" | bc -l
}
loop() {
  for f in "$work"/in/*.cpt; do
    "$cli" --tables "$work/tables" "$f" --auto-clean --save "$work/loop/${f##*/}" --force
  done
}
t_loop=$(seconds loop)
t_j1=$(seconds "$cli" --tables "$work/tables" --jobs 1 "$work/in" --auto-clean --save "$work/jobs1/{name}" --force)
t_j2=$(seconds "$cli" --tables "$work/tables" --jobs 2 "$work/in" --auto-clean --save "$work/jobs2/{name}" --force)
if ! diff -rq "$work/loop" "$work/jobs1" >/dev/null || ! diff -rq "$work/loop" "$work/jobs2" >/dev/null; then
  echo "the outputs differ" >&2
  exit 1
fi

echo "$count soundings of 1000 readings x 6 channels, --auto-clean --save out/{name}:"
printf '  shell loop, one process per file: %8.0f ms\n' "$(echo "$t_loop*1000" | bc -l)"
printf '  one run, --jobs 1:                %8.0f ms  (%.1f times faster than the loop)\n' \
  "$(echo "$t_j1*1000" | bc -l)" "$(echo "$t_loop/$t_j1" | bc -l)"
printf '  one run, --jobs 2:                %8.0f ms  (%.1f times faster than the loop, %.2f times faster than --jobs 1)\n' \
  "$(echo "$t_j2*1000" | bc -l)" "$(echo "$t_loop/$t_j2" | bc -l)" "$(echo "$t_j1/$t_j2" | bc -l)"

echo "In process, 10000 readings x 10 channels (CPU time):"
"$bench"/bin/file_bench --benchmark_filter='BM_(Load|SaveWithoutFsync)/' --benchmark_min_time=0.5 2>/dev/null |
  awk '/^BM_/ { printf "  %-24s %s %s\n", $1, $4, $5 }'
