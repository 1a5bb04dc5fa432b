#!/usr/bin/env bash
# Installs what is missing, builds the viewer and opens FILE (default: the bundled demo block) in its
# window. Without a display it says so and draws the view into a BMP picture instead.
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
if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
  exec build/app/quorvela-viewer "$file"
fi
picture="build/$(basename "${file%.*}").bmp"
echo "No display (neither DISPLAY nor WAYLAND_DISPLAY is set), so the window cannot open." >&2
echo "Drawing the view of $file into $picture instead." >&2
build/app/quorvela-viewer --export "$picture" "$file"
echo "$picture"
