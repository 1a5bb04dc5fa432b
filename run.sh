#!/usr/bin/env bash
# Installs what is missing, builds the viewer and runs it on FILE (default: the bundled demo block).
#   ./run.sh [FILE]
# To install it afterwards (program, help, icons, desktop entry, MIME types, man page):
#   cmake --install build                      system-wide, under /usr/local (as root)
#   cmake --install build --prefix ~/.local    for your user only, no root needed
set -euo pipefail
cd "$(dirname "$0")"
tools/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build --target quorvela-viewer
file="${1:-samples/demo.mnf}"
exec build/app/quorvela-viewer --dump "$file"
