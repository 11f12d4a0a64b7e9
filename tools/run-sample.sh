#!/usr/bin/env bash
# Builds Quillmere and starts the window on a bundled sample sounding.
# Any arguments replace the sample: tools/run-sample.sh my.cpt
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j"$(nproc)" --target quillmere quillmere-cli
if [ "$#" -gt 0 ]; then
  exec build/bin/quillmere "$@"
fi
# Three channels: the page leaves room for the profile beside it on a
# 1366 x 768 screen, and the older sample shows a drill-out.
exec build/bin/quillmere build/bin/samples/sample-older.cpt
