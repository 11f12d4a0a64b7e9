#!/usr/bin/env bash
# Every speed goal of the batch tool and the file code, measured in one run
# and printed as the figure, its goal and whether it is met:
#   - in process, a sounding of 10000 readings x 10 channels: load, and save
#     without the final fsync (file_bench, CPU time);
#   - whole process, `quillmere-cli big.cpt --save out.cpt --force` against
#     `cat` of the file, and against pandas' read_fwf + to_csv when Debian's
#     python3-pandas is there (it is not installed for this);
#   - 1000 soundings of 1000 readings x 6 channels, `--auto-clean --save
#     out/{name}`: one run against a shell loop of one process per file, and
#     --jobs 2 against --jobs 1 (all three must write the same files).
# Two copies of a CPU-bound benchmark run side by side first: what they get
# done over one alone is the most --jobs 2 can gain on this machine now.
# COUNT sets the number of soundings, RUNS the repeats of the whole-process
# timings; BENCH_BUILD_DIR an already configured build folder to use.
# BASELINE=COMMIT also builds file_bench at that commit and times both builds
# in turn, so that the in-process goals read as ratios measured in one run
# on this machine (the goals came as 4.5 ms -> 1.5 for the load and about
# 4 ms -> 2 for the save: 3 and 2 times faster than the code they were
# measured on).
set -euo pipefail
cd "$(dirname "$0")/.."
count=${COUNT:-1000}
runs=${RUNS:-20}

bench=${BENCH_BUILD_DIR:-build-bench}
[ -n "${BENCH_BUILD_DIR:-}" ] || cmake -S . -B "$bench" -DCMAKE_BUILD_TYPE=Release -DQUILLMERE_WITH_UI=OFF -DQUILLMERE_BENCH=ON >/dev/null
cmake --build "$bench" -j"$(nproc)" --target quillmere-cli file_bench >/dev/null
cli="$bench/bin/quillmere-cli"
file_bench="$bench/bin/file_bench"

work=$(mktemp -d)
trap 'git worktree remove --force "$work/baseline" 2>/dev/null || true; rm -rf "$work"' EXIT
mkdir "$work/in" "$work/tables" "$work/loop" "$work/jobs1" "$work/jobs2"
# The tables the bench soundings were written for: types 1 to 10, KPA and MPA.
for t in $(seq 1 10); do
  printf 'a,b,c,d,e,f,g,h,i,j,k,l,m,2,KPA,####0.0,1,MPA,##0.000,0.001\r\n' > "$work/tables/Channel$t.txt"
done
"$file_bench" --write-big "$work/big.cpt"
"$file_bench" --write-many "$work/in" "$count" 1000 6

now() { date +%s.%N; }
calc() { echo "$1" | bc -l; }
seconds() {  # wall time of the command in seconds
  local start end
  start=$(now); "$@" >/dev/null 2>&1 || true; end=$(now)
  calc "$end - $start"
}
# Best wall time in seconds over $runs runs of the command, each timed from
# just before its start to its end by one Python process: timing each run
# from the shell would add the start of two `date` processes (several
# milliseconds here) to every figure, which blurs the ratios of short runs.
best() {
  python3 - "$runs" "$@" <<'PY'
import subprocess, sys, time
runs, command = int(sys.argv[1]), sys.argv[2:]
best = float("inf")
for _ in range(runs):
    start = time.perf_counter()
    subprocess.run(command, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    best = min(best, time.perf_counter() - start)
print(best)
PY
}
# goal LABEL FIGURE UNIT GOAL below|above: one line with the verdict.
goal() {
  local met
  if [ "$5" = below ]; then met=$(calc "$2 < $4"); else met=$(calc "$2 >= $4"); fi
  printf '  %-52s %8.2f %-6s goal %s %-6s %s\n' "$1" "$2" "$3" "$([ "$5" = below ] && echo "<" || echo ">=")" "$4" \
    "$([ "$met" = 1 ] && echo met || echo "NOT met")"
}

# The machine: one copy of a CPU-bound benchmark, then two side by side.
load_bench=("$file_bench" --benchmark_filter='BM_Load/3' --benchmark_min_time=300x)
t_one=$(seconds "${load_bench[@]}")
start=$(now); "${load_bench[@]}" >/dev/null 2>&1 & "${load_bench[@]}" >/dev/null 2>&1; wait; end=$(now)
ceiling=$(calc "2 * $t_one / ($end - $start)")

# In process (CPU time, milliseconds): the least of 10 repetitions.
in_process=$("$file_bench" --benchmark_filter='BM_(Load|SaveWithoutFsync)/' --benchmark_min_time=0.2s \
  --benchmark_repetitions=10 --benchmark_report_aggregates_only=true 2>/dev/null)
ms_of() { echo "$in_process" | awk -v name="$1_min" '$1 == name { print ($5 == "us" ? $4 / 1000 : $4) }'; }

# Against the baseline build: each build's least time of 15 repetitions,
# the two taken in turn. An older file_bench may lack the save without
# fsync, so the save compares the making of its bytes (BM_RenderOnly).
if [ -n "${BASELINE:-}" ]; then
  git worktree add --detach "$work/baseline" "$BASELINE" >/dev/null 2>&1
  cmake -S "$work/baseline" -B "$work/baseline/build" -DCMAKE_BUILD_TYPE=Release -DQUILLMERE_WITH_UI=OFF \
    -DQUILLMERE_BENCH=ON >/dev/null
  cmake --build "$work/baseline/build" -j"$(nproc)" --target file_bench >/dev/null
  for _ in 1 2 3; do
    for b in baseline now; do
      binary=$file_bench
      [ "$b" = baseline ] && binary="$work/baseline/build/bin/file_bench"
      "$binary" --benchmark_filter='BM_(Load|RenderOnly)/2' --benchmark_min_time=0.2s --benchmark_repetitions=5 \
        2>/dev/null | awk -v b="$b" '$1 ~ /^BM_[A-Za-z]+\/2$/ { print b, $1, ($5 == "us" ? $4 / 1000 : $4) }'
    done
  done > "$work/against-baseline.txt"
  least_of() { awk -v b="$1" -v n="$2" '$1 == b && $2 == n { if (m == "" || $3 < m) m = $3 } END { print m }' "$work/against-baseline.txt"; }
fi

# Whole process.
t_cli=$(best "$cli" --tables "$work/tables" "$work/big.cpt" --save "$work/out.cpt" --force)
t_cat=$(best cat "$work/big.cpt")
t_py=""
if /usr/bin/python3 -c 'import pandas' 2>/dev/null; then
  cat > "$work/pandas_convert.py" <<'PY'
import sys
import pandas as pd
widths = [6, 7] + [20] * 10
frame = pd.read_fwf(sys.argv[1], widths=widths, skiprows=23, header=None)
frame.to_csv(sys.argv[2], index=False)
PY
  t_py=$(best /usr/bin/python3 "$work/pandas_convert.py" "$work/big.cpt" "$work/out.csv")
fi

# Many soundings.
loop() {
  for f in "$work"/in/*.cpt; do
    "$cli" --tables "$work/tables" "$f" --auto-clean --save "$work/loop/${f##*/}" --force
  done
}
t_loop=$(seconds loop)
t_j1=$(seconds "$cli" --tables "$work/tables" --jobs 1 "$work/in" --auto-clean --save "$work/jobs1/{name}" --force)
t_j2=$(seconds "$cli" --tables "$work/tables" --jobs 2 "$work/in" --auto-clean --save "$work/jobs2/{name}" --force)
if ! diff -rq "$work/loop" "$work/jobs1" >/dev/null || ! diff -rq "$work/loop" "$work/jobs2" >/dev/null; then
  echo "the outputs of the loop, --jobs 1 and --jobs 2 differ" >&2
  exit 1
fi

echo "This machine: two CPU-bound processes side by side get $(printf '%.2f' "$ceiling") times the work of one done."
echo "In process, 10000 readings x 10 channels (CPU time, least of 10 repetitions):"
goal "load, older layout" "$(ms_of BM_Load/2)" ms 1.5 below
goal "load, newer layout" "$(ms_of BM_Load/3)" ms 1.5 below
goal "save without the final fsync, older layout" "$(ms_of BM_SaveWithoutFsync/2)" ms 2 below
goal "save without the final fsync, newer layout" "$(ms_of BM_SaveWithoutFsync/3)" ms 2 below
if [ -n "${BASELINE:-}" ]; then
  printf 'Against %s, older layout, taken in turn: load %.2f -> %.2f ms, making the bytes of a save %.2f -> %.2f ms\n' \
    "$BASELINE" "$(least_of baseline BM_Load/2)" "$(least_of now BM_Load/2)" \
    "$(least_of baseline BM_RenderOnly/2)" "$(least_of now BM_RenderOnly/2)"
  goal "load, times faster" "$(calc "$(least_of baseline BM_Load/2) / $(least_of now BM_Load/2)")" x 3 above
  goal "making the bytes of a save, times faster" \
    "$(calc "$(least_of baseline BM_RenderOnly/2) / $(least_of now BM_RenderOnly/2)")" x 2 above
fi
printf 'Whole process, load + save of it (best of %s): %.1f ms; cat of it %.1f ms\n' "$runs" \
  "$(calc "$t_cli * 1000")" "$(calc "$t_cat * 1000")"
goal "times the time of cat" "$(calc "$t_cli / $t_cat")" x 3 below
if [ -n "$t_py" ]; then
  printf '  (pandas read_fwf + to_csv: %.1f ms)\n' "$(calc "$t_py * 1000")"
  goal "times faster than pandas" "$(calc "$t_py / $t_cli")" x 40 above
else
  echo "  pandas: not installed, not compared"
fi
printf '%s soundings of 1000 x 6, --auto-clean --save out/{name}: loop %.0f ms, --jobs 1 %.0f ms, --jobs 2 %.0f ms\n' \
  "$count" "$(calc "$t_loop * 1000")" "$(calc "$t_j1 * 1000")" "$(calc "$t_j2 * 1000")"
goal "one run with --jobs 1 times faster than the loop" "$(calc "$t_loop / $t_j1")" x 10 above
goal "one run with --jobs 2 times faster than the loop" "$(calc "$t_loop / $t_j2")" x 10 above
goal "--jobs 2 times faster than --jobs 1" "$(calc "$t_j1 / $t_j2")" x 1.7 above
