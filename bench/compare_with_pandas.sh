#!/usr/bin/env bash
# Times `quillmere-cli big.cpt --save out.cpt --force` as a whole process
# against reading the same file with pandas' fixed-width reader and writing
# it as CSV and against `cat` of it, and reports each one's peak memory
# (maximum resident set size).
# Needs Debian's python3-pandas; builds what it needs in build-bench/.
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${RUNS:-20}

if ! /usr/bin/python3 -c 'import pandas' 2>/dev/null; then
  echo "Installing python3-pandas"
  ${SUDO:-$( [ "$(id -u)" -ne 0 ] && echo sudo )} apt-get install -y -qq python3-pandas time
fi
[ -x /usr/bin/time ] || ${SUDO:-$( [ "$(id -u)" -ne 0 ] && echo sudo )} apt-get install -y -qq time

# BENCH_BUILD_DIR: an already configured build folder to use instead.
bench=${BENCH_BUILD_DIR:-build-bench}
[ -n "${BENCH_BUILD_DIR:-}" ] || cmake -S . -B "$bench" -DCMAKE_BUILD_TYPE=Release -DQUILLMERE_WITH_UI=OFF -DQUILLMERE_BENCH=ON >/dev/null
cmake --build "$bench" -j"$(nproc)" --target quillmere-cli file_bench >/dev/null

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$bench"/bin/file_bench --write-big "$work/big.cpt"
# The tables the big sounding was written for: types 1 to 10, KPA and MPA.
mkdir "$work/tables"
for t in $(seq 1 10); do
  printf 'a,b,c,d,e,f,g,h,i,j,k,l,m,2,KPA,####0.0,1,MPA,##0.000,0.001\r\n' > "$work/tables/Channel$t.txt"
done

cat > "$work/pandas_convert.py" <<'PY'
import sys
import pandas as pd
widths = [6, 7] + [20] * 10
frame = pd.read_fwf(sys.argv[1], widths=widths, skiprows=23, header=None)
frame.to_csv(sys.argv[2], index=False)
PY

best() {  # best wall time in seconds over $runs runs of the command
  local best=999
  for _ in $(seq "$runs"); do
    local start end t
    start=$(date +%s.%N); "$@" >/dev/null 2>&1; end=$(date +%s.%N)
    t=$(echo "$end - $start" | bc -l)
    best=$(echo "if ($t < $best) $t else $best" | bc -l)
  done
  echo "$best"
}
peak() {  # maximum resident set size in KiB
  /usr/bin/time -f '%M' "$@" 2>&1 >/dev/null | tail -1
}

cli=("$bench/bin/quillmere-cli" --tables "$work/tables" "$work/big.cpt" --save "$work/out.cpt" --force)
py=(/usr/bin/python3 "$work/pandas_convert.py" "$work/big.cpt" "$work/out.csv")

t_cli=$(best "${cli[@]}")
t_py=$(best "${py[@]}")
t_cat=$(best cat "$work/big.cpt")  # to /dev/null, as best() runs it
m_cli=$(peak "${cli[@]}")
m_py=$(peak "${py[@]}")
printf 'quillmere-cli load+save: best %.1f ms, peak memory %.1f MiB\n' "$(echo "$t_cli*1000" | bc -l)" "$(echo "$m_cli/1024" | bc -l)"
printf 'pandas read_fwf+to_csv:  best %.1f ms, peak memory %.1f MiB\n' "$(echo "$t_py*1000" | bc -l)" "$(echo "$m_py/1024" | bc -l)"
printf 'cat of the file:         best %.1f ms\n' "$(echo "$t_cat*1000" | bc -l)"
printf 'speed-up over pandas: %.1f times; time of cat times %.1f\n' "$(echo "$t_py/$t_cli" | bc -l)" "$(echo "$t_cli/$t_cat" | bc -l)"
