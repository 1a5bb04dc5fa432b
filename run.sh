#!/usr/bin/env bash
# Installs what is missing, builds the viewer and runs it on FILE (default: the bundled demo block).
#   ./run.sh [FILE]
set -euo pipefail
cd "$(dirname "$0")"
tools/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build --target quorvela-viewer
file="${1:-samples/demo.mnf}"
exec build/app/quorvela-viewer --dump "$file"
