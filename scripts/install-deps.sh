#!/usr/bin/env bash
# Installs the Debian packages vexmoro needs to build, test and play, when they are missing.
# Packages named as arguments are installed too when missing (scripts/fuzz.sh asks for clang).
set -euo pipefail

packages=(
  build-essential cmake pkg-config
  libsdl2-dev libgl1-mesa-dev libglu1-mesa-dev libegl-dev libgl1-mesa-dri
  libjpeg62-turbo-dev libpng-dev zlib1g-dev
  libvorbis-dev libogg-dev libkissfft-dev libsoxr-dev
  libfreetype-dev libfontconfig-dev fonts-dejavu-core
  libgtest-dev libbenchmark-dev
  ffmpeg xvfb xauth xfonts-base x11-utils xdotool
  dpkg-dev lintian desktop-file-utils appstream man-db
  g++-mingw-w64-x86-64-posix libz-mingw-w64-dev nasm wine64
  "$@"
)

missing=()
for p in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${db:Status-Status}' "$p" 2>/dev/null || true)
  [ "$status" = "installed" ] || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}" >&2
if [ "$(id -u)" -eq 0 ]; then
  sudo=()
elif command -v sudo >/dev/null 2>&1; then
  sudo=(sudo)
else
  echo "vexmoro needs these packages and cannot install them without root: ${missing[*]}" >&2
  exit 1
fi
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update
"${sudo[@]}" apt-get install -y --no-install-recommends "${missing[@]}"
