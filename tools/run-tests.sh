#!/usr/bin/env bash
# Builds Quillmere and runs every test: once in a normal build, once under
# AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/install-deps.sh

jobs=$(nproc)
export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS=detect_leaks=0:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUILLMERE_BENCH=ON
cmake --build build -j"$jobs"
ctest --test-dir build --output-on-failure -j"$jobs"
# The AGS4 and GEF-CPT exports read by the receivers' own checkers, kept
# beside the project root (never copied into it). In CI they must be there.
validators=../shared/validators
if [ -d "$validators" ]; then
  /usr/bin/python3 tools/check-open-formats.py "$validators" --cli build/bin/quillmere-cli
elif [ "${CI:-}" = "true" ]; then
  echo "run-tests: $validators is missing; the open-format checks cannot run" >&2
  exit 1
else
  echo "run-tests: skipping the open-format checks: no $validators"
fi
# The CSV export read back by Python's csv module, against the tool's page.
for sample in data/samples/*.cpt; do python3 tools/check_csv.py build/bin/quillmere-cli "$sample"; done
# The Debian package built from this build: installed with apt-get, its
# programs run from the PATH, its files checked, then removed again.
bash tools/check-package.sh build

cmake -S . -B build-sanitize -DCMAKE_BUILD_TYPE=Debug -DQUILLMERE_SANITIZE=ON -DQUILLMERE_BENCH=OFF
cmake --build build-sanitize -j"$jobs"
ctest --test-dir build-sanitize --output-on-failure -j"$jobs"

# Each fuzz target for a bounded time (QM_FUZZ_SECONDS, default 60; 0 skips
# them). tools/run-fuzz.sh runs them for longer.
fuzz_seconds=${QM_FUZZ_SECONDS:-60}
if [ "$fuzz_seconds" -gt 0 ]; then
  QM_FUZZ_SEED=${QM_FUZZ_SEED:-1} bash tools/run-fuzz.sh "$fuzz_seconds"
fi
