# Helpers every script of scripts/ sources: the repository root, the build folders, root rights,
# Wine's programs, a build's version, and the two ways a script stops short (fail, not_run).
# Sourced, never run; it sets no shell options of its own and needs bash.
# shellcheck shell=bash disable=SC2034

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
jobs=$(nproc)
# The build folders; each may be moved with its variable.
native=${VEXMORO_BUILD_DIR:-$root/build}
windows_work=${VEXMORO_WINDOWS_BUILD_DIR:-$root/build-windows}
web_work=${VEXMORO_WEB_BUILD_DIR:-$root/build-web}
deb_work=${VEXMORO_DEB_BUILD_DIR:-$root/build-deb}
sanitize_work=${VEXMORO_SANITIZE_BUILD_DIR:-$root/build-sanitize}
gles3_work=${VEXMORO_GLES3_BUILD_DIR:-$root/build-gles3}
# Slow to make and the same for every clone on this machine: the Windows program's libraries.
cache_home=${XDG_CACHE_HOME:-$HOME/.cache}/vexmoro

script_name=$(basename "$0" .sh)

step() {
  echo "== $script_name: $*" >&2
}

fail() {
  echo "$script_name: FAILED: $*" >&2
  exit 1
}

# A step this machine cannot take. Under CI (CI set) that fails the run; elsewhere it is said
# loudly and listed in the summary of scripts/test.sh (the file VEXMORO_NOT_RUN names).
not_run() {
  local what=$1 why=$2
  [ -z "${CI:-}" ] || fail "$what cannot run here: $why (CI is set, so this fails)"
  banner "NOT RUN: $what" "because $why"
  if [ -n "${VEXMORO_NOT_RUN:-}" ]; then echo "$what: $why" >>"$VEXMORO_NOT_RUN"; fi
}

# not_run for the whole script: status 77 tells scripts/test.sh that it was not run, not failed.
not_run_exit() {
  not_run "$@"
  exit 77
}

# Lines no one scrolls past, on standard error.
banner() {
  local rule
  rule=$(printf '#%.0s' {1..80})
  {
    echo "$rule"
    printf '## %s\n' "$@"
    echo "$rule"
  } >&2
}

# Runs a command as root, directly or through sudo; can_be_root says whether that is possible.
can_be_root() {
  [ "$(id -u)" -eq 0 ] || command -v sudo >/dev/null 2>&1
}
as_root() {
  if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

# Debian's 64-bit Wine programs (wine64, wineserver64), outside PATH.
wine_program() {
  dpkg -L wine64 | grep -m1 "/$1\$"
}

# The project version a build folder was configured with.
configured_version() {
  sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$1/CMakeCache.txt"
}

# The files a clone of the tree has, and the untracked ones git does not ignore (work not yet
# committed), as paths relative to the root.
tree_files() {
  git -C "$root" ls-files -z --cached --others --exclude-standard | while read -r -d '' file; do
    if [ -f "$root/$file" ]; then echo "$file"; fi
  done
}
