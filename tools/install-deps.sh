#!/usr/bin/env bash
# Installs the Debian 12 packages the viewer needs to build, test and run (libfile-mimeinfo-perl lets
# xdg-mime and xdg-open find *.mnf and *.mvf by their names where no desktop environment answers;
# dpkg-dev gives `cpack -G DEB` dpkg-shlibdeps, which finds the package's dependencies; assimp-utils
# reads the exported 3D models back in the tests). Idempotent and quiet:
# it asks apt only for what is missing. Runs as root, or through sudo otherwise.
set -euo pipefail

PACKAGES=(
  build-essential cmake ninja-build pkg-config clang
  qt6-base-dev libqt6opengl6-dev qt6-base-dev-tools qt6-svg-dev
  libgl-dev libglu1-mesa-dev libgl1-mesa-dri
  libegl-dev libegl-mesa0 libopengl-dev
  libfreetype-dev libfontconfig-dev fonts-liberation2
  libjpeg-dev libsimpleini-dev nlohmann-json3-dev libglib2.0-dev libtinygltf-dev
  googletest libgtest-dev libgmock-dev libbenchmark-dev assimp-utils
  xvfb xauth shared-mime-info desktop-file-utils xdg-utils libfile-mimeinfo-perl
  dpkg-dev
)

missing=()
for p in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

SUDO=""
if [ "$(id -u)" -ne 0 ]; then
  command -v sudo >/dev/null || { echo "Missing packages: ${missing[*]}; run as root or install sudo." >&2; exit 1; }
  SUDO="sudo"
fi
echo "Installing: ${missing[*]}" >&2
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq >/dev/null
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
