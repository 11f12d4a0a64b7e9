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
exec build/bin/quillmere build/bin/samples/sample-10ch.cpt
