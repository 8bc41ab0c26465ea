#!/usr/bin/env bash
# Proves the Debian package the way a user meets it: builds it (scripts/package-deb.sh), runs
# lintian on it, installs it with apt-get, runs the installed program from an empty folder (its
# version, a benchmark that finds every data file, a captured frame equal to the build folder's),
# validates the desktop entry, the AppStream metadata and the manual page, then purges it and
# checks that none of its files remain. Installing needs root or sudo; run by scripts/test.sh.
# Safe to rerun: a package left installed by an earlier run is purged first.
set -euo pipefail
# shellcheck source=scripts/lib.sh
. "$(dirname "$0")/lib.sh"

can_be_root || not_run_exit "the Debian package test" "installing the package needs root or sudo"
apt=(as_root env DEBIAN_FRONTEND=noninteractive apt-get -y -q -o DPkg::Lock::Timeout=600)

purge() {
  if dpkg-query -W vexmoro >/dev/null 2>&1; then "${apt[@]}" purge vexmoro >/dev/null; fi
}

work=$(mktemp -d)
trap 'purge; rm -rf "$work"' EXIT

step "build the package, and the build folder's program to compare with"
"$root/scripts/build.sh" >/dev/null
deb=$("$root/scripts/package-deb.sh" 2>"$work/package.log") || {
  cat "$work/package.log" >&2
  fail "scripts/package-deb.sh"
}
version=$(dpkg-deb -f "$deb" Version)
echo "$(basename "$deb"): $(stat -c %s "$deb") bytes, Installed-Size $(dpkg-deb -f "$deb" \
  Installed-Size) KiB" >&2
echo "Depends: $(dpkg-deb -f "$deb" Depends)" >&2
echo "Suggests: $(dpkg-deb -f "$deb" Suggests)" >&2
dpkg-deb -c "$deb" | awk '{ print "  " $3 "  " $6 }' >&2

step "lintian"
lintian --display-info --fail-on error "$deb" >&2 || fail "lintian reports errors"

step "apt-get install ./dist/$(basename "$deb")"
purge
(cd "$root" && "${apt[@]}" install "./dist/$(basename "$deb")") >"$work/apt.log" 2>&1 || {
  cat "$work/apt.log" >&2
  fail "apt-get install"
}

# From an empty folder, on the search path a Debian user has, with Mesa's shader cache kept out
# of the home folder as in the test suite.
mkdir "$work/empty"
cd "$work/empty"
export PATH=/usr/local/bin:/usr/bin:/bin:/usr/local/games:/usr/games
export MESA_SHADER_CACHE_DISABLE=true
[ "$(command -v vexmoro)" = /usr/games/vexmoro ] ||
  fail "vexmoro on PATH is '$(command -v vexmoro)', not /usr/games/vexmoro"

step "vexmoro --version"
[ "$(vexmoro --version)" = "vexmoro $version" ] || fail "--version says '$(vexmoro --version)'"

step "vexmoro --benchmark --fps 2"
vexmoro --benchmark --fps 2 >"$work/benchmark.out" 2>"$work/benchmark.err" ||
  fail "the benchmark ended with status $?: $(cat "$work/benchmark.err")"
# Anything but the summary on standard error is a data file the program did not find.
if grep -v '^vexmoro: drew ' "$work/benchmark.err" >&2; then
  fail "the benchmark reported the above"
fi
# 209.2 s at 2 frames a second: frames 0 to 418, and the first past the end.
tail -n 1 "$work/benchmark.out" | grep -q '"show":{"frames":420,' ||
  fail "the benchmark did not draw the whole show: $(tail -n 1 "$work/benchmark.out")"
tail -n 1 "$work/benchmark.out" >&2

step "one frame (the tunnel at 135 s) from the installed program and from $native/vexmoro"
frame=(--fps 30 --start 126.4 --from 135 --to 135)
vexmoro --capture installed "${frame[@]}" 2>"$work/capture.err" ||
  fail "the installed program's capture: $(cat "$work/capture.err")"
"$native/vexmoro" --capture built "${frame[@]}" 2>"$work/capture.err" ||
  fail "the build folder's capture: $(cat "$work/capture.err")"
installed=(installed/*.png)
[ ${#installed[@]} -eq 1 ] || fail "the installed program wrote ${#installed[@]} frames, not 1"
cmp "${installed[0]}" "built/$(basename "${installed[0]}")" || fail "the two frames differ"

step "desktop-file-validate, appstreamcli validate, man --warnings, the icons"
out=$(desktop-file-validate /usr/share/applications/vexmoro.desktop 2>&1) ||
  fail "desktop-file-validate: $out"
[ -z "$out" ] || fail "desktop-file-validate: $out"
appstreamcli validate --no-net /usr/share/metainfo/vexmoro.metainfo.xml >&2 ||
  fail "appstreamcli validate"
page=/usr/share/man/man6/vexmoro.6.gz
# Slim Debian images tell dpkg to leave manual pages out; there the package's own page is read.
if [ ! -e "$page" ] && grep -qs '^path-exclude=*/usr/share/man' /etc/dpkg/dpkg.cfg.d/*; then
  echo "dpkg here leaves manual pages out: checking the page in the package" >&2
  dpkg-deb --fsys-tarfile "$deb" | tar -xOf - ./usr/share/man/man6/vexmoro.6.gz >"$work/page.gz"
  page=$work/page.gz
else
  [ "$(man -w 6 vexmoro)" = "$page" ] || fail "man finds no vexmoro(6)"
fi
out=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$page" 2>&1 >/dev/null)
[ -z "$out" ] || fail "man --warnings: $out"
icons=0
for png in /usr/share/icons/hicolor/*/apps/vexmoro.png; do
  [ -f "$png" ] || fail "no icon installed"
  # The PNG header's width and height, big-endian at bytes 16 and 20, against the folder's name.
  read -r w h < <(od -An -tu4 --endian=big -j16 -N8 "$png")
  [ "$(basename "$(dirname "$(dirname "$png")")")" = "${w}x${h}" ] || fail "$png is $w by $h"
  icons=$((icons + 1))
done
[ -f /usr/share/icons/hicolor/256x256/apps/vexmoro.png ] || fail "no 256 by 256 icon"
echo "$icons icons, each of its folder's size" >&2

step "apt-get purge vexmoro"
files=$(dpkg-query -L vexmoro)
cd "$work"
"${apt[@]}" purge vexmoro >"$work/apt.log" 2>&1 || {
  cat "$work/apt.log" >&2
  fail "apt-get purge"
}
! dpkg-query -W vexmoro >/dev/null 2>&1 || fail "dpkg still knows vexmoro after the purge"
# Every file of the package, and every folder of its own, must be gone; shared folders such as
# /usr/share/applications stay.
left=()
while read -r path; do
  if [ -d "$path" ] && [ ! -L "$path" ]; then
    case "$path" in *vexmoro*) left+=("$path") ;; esac
  elif [ -e "$path" ] || [ -L "$path" ]; then
    left+=("$path")
  fi
done <<<"$files"
[ ${#left[@]} -eq 0 ] || fail "left behind after the purge: ${left[*]}"
echo "test-package: passed ($(wc -l <<<"$files") paths installed and removed)" >&2
