#!/usr/bin/env bash
# Installs the Debian packages a task needs, those that are missing:
#   install-deps.sh [PROFILE | PACKAGE]...     (no argument: play)
#   install-deps.sh --list [PROFILE | PACKAGE]...     prints the packages instead
# Profiles: play (build and play the show), test (build and run the tests), package (build and
# check the Debian package), windows (cross-build the Windows program, prove it under Wine), web
# (build the browser program, prove it in a headless browser).
# Any other name is a package (scripts/fuzz.sh asks for clang). Needs root or sudo to install.
set -euo pipefail
# shellcheck source=scripts/lib.sh
. "$(dirname "$0")/lib.sh"

# What each profile adds, and the profile it builds on. A new profile is one line in each.
declare -A adds=(
  [play]="g++ make cmake pkg-config libsdl2-dev libgl1-mesa-dev libglu1-mesa-dev libegl-dev
    libgl1-mesa-dri libjpeg62-turbo-dev libpng-dev zlib1g-dev libvorbis-dev libogg-dev
    libkissfft-dev libsoxr-dev libfreetype-dev libfontconfig-dev fonts-dejavu-core"
  [test]="libgtest-dev libbenchmark-dev python3 shellcheck git ffmpeg xvfb xauth xfonts-base
    x11-utils xdotool"
  [package]="dpkg-dev lintian desktop-file-utils appstream man-db"
  [windows]="g++-mingw-w64-x86-64-posix libz-mingw-w64-dev nasm dpkg-dev debian-archive-keyring
    libgtest-dev python3 wine64"
  [web]="emscripten dpkg-dev debian-archive-keyring python3 chromium chromium-driver
    python3-selenium python3-numpy"
)
declare -A builds_on=([test]=play [package]=play [windows]=play [web]=play)

usage() {
  sed -n '2,8p' "$0" | sed 's/^# \{0,1\}//' >&2
  exit 2
}

# The packages of one profile, those it builds on first.
profile_packages() {
  [ -z "${builds_on[$1]:-}" ] || profile_packages "${builds_on[$1]}"
  echo "${adds[$1]}"
}

list=false
if [ "${1:-}" = --list ]; then
  list=true
  shift
fi
[ $# -gt 0 ] || set -- play
packages=()
for name in "$@"; do
  case "$name" in
    -*) usage ;;
  esac
  if [ -n "${adds[$name]:-}" ]; then
    read -ra more <<<"$(profile_packages "$name" | tr '\n' ' ')"
    packages+=("${more[@]}")
  else
    packages+=("$name")
  fi
done
mapfile -t packages < <(printf '%s\n' "${packages[@]}" | awk '!seen[$0]++')
if $list; then
  printf '%s\n' "${packages[@]}"
  exit 0
fi

missing=()
for p in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${db:Status-Status}' "$p" 2>/dev/null || true)
  [ "$status" = "installed" ] || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}" >&2
can_be_root || fail "these packages are needed and cannot be installed without root: ${missing[*]}"
# apt's words go to standard error: callers keep standard output for their own results.
as_root apt-get update >&2
as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends \
  "${missing[@]}" >&2
