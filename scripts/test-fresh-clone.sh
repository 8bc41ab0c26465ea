#!/usr/bin/env bash
# Proves that the scripts which build something work on a fresh clone, leaning on nothing built
# before them, and make what they promise: package-deb.sh the .deb with the program and its data,
# build-windows.sh the zip with vexmoro.exe, data/ and README.txt, gallery.sh docs/gallery.png,
# build-web.sh the zip with the page, the program and its packed data.
# The tree is copied as a clone has it, uncommitted work included. One copy runs package-deb.sh,
# then build-windows.sh, which must find none of the folders it builds in; a second copy runs
# gallery.sh, then build-web.sh (each of the three builds the native program alike, through
# build.sh, and build-web.sh finds it made).
# The cross-built libraries come from the cache all clones share. Copies are removed after a pass
# and kept after a failure.
set -euo pipefail
# shellcheck source=scripts/lib.sh
. "$(dirname "$0")/lib.sh"

work=$(mktemp -d "${TMPDIR:-/tmp}/vexmoro-fresh.XXXXXX")
trap '[ ! -d "$work" ] || echo "the copies are kept in $work" >&2' EXIT

fresh_copy() {
  mkdir "$work/$1"
  tree_files | tar -C "$root" -cf - -T - | tar -C "$work/$1" -xf -
}

# Runs a script of a copy as a user would, with none of this run's build folders.
run_in() {
  local copy=$1 script=$2 log=$work/$1-$2.log start=$SECONDS
  (cd "$work/$copy" && env -u VEXMORO_BUILD_DIR -u VEXMORO_WINDOWS_BUILD_DIR \
    -u VEXMORO_WEB_BUILD_DIR -u VEXMORO_DEB_BUILD_DIR -u VEXMORO_WINDOWS_TESTS \
    "./scripts/$script" >"$log" 2>&1) || {
    tail -n 40 "$log" >&2
    fail "$script in a fresh copy (the whole log: $log)"
  }
  echo "copy $copy: $script took $((SECONDS - start)) s" >&2
}

check_deb() {
  local debs=("$work/$1"/dist/vexmoro_*.deb)
  [ -f "${debs[0]}" ] || fail "package-deb.sh wrote no dist/vexmoro_*.deb"
  dpkg-deb -c "${debs[0]}" >"$work/deb.txt"
  grep -q ' \./usr/games/vexmoro$' "$work/deb.txt" || fail "the .deb has no usr/games/vexmoro"
  grep -q ' \./usr/share/games/vexmoro/data/music/.*\.ogg$' "$work/deb.txt" ||
    fail "the .deb has no music under usr/share/games/vexmoro/data/"
}

check_zip() {
  local zips=("$work/$1"/dist/vexmoro-*-win64.zip) name
  [ -f "${zips[0]}" ] || fail "build-windows.sh wrote no dist/vexmoro-VERSION-win64.zip"
  name=$(basename "${zips[0]}" .zip)
  (cd "$work" && cmake -E tar tf "${zips[0]}") >"$work/zip.txt"
  for entry in vexmoro.exe README.txt 'data/music/.*\.ogg' 'data/textures/loading\.jpg'; do
    grep -Eq "^$name/$entry\$" "$work/zip.txt" || fail "the zip has no $entry"
  done
}

check_web_zip() {
  local zips=("$work/$1"/dist/vexmoro-*-web.zip) name entry
  [ -f "${zips[0]}" ] || fail "build-web.sh wrote no dist/vexmoro-VERSION-web.zip"
  name=$(basename "${zips[0]}" .zip)
  (cd "$work" && cmake -E tar tf "${zips[0]}") >"$work/web-zip.txt"
  for entry in index.html page.js vexmoro.js vexmoro.wasm vexmoro.data loading.jpg README.txt; do
    grep -Eq "^$name/$entry\$" "$work/web-zip.txt" || fail "the web zip has no $entry"
  done
}

# Four shots of 320 by 240 to a row, three rows, 4 pixels between them.
check_gallery() {
  local png=$work/$1/docs/gallery.png size
  [ -f "$png" ] || fail "gallery.sh wrote no docs/gallery.png"
  size=$(od -An -tu4 --endian=big -j16 -N8 "$png" | xargs)
  [ "$size" = "1292 728" ] || fail "docs/gallery.png is ${size/ / by }, not 1292 by 728"
}

fresh_copy one
if "$root/scripts/install-deps.sh" package; then
  run_in one package-deb.sh
  check_deb one
else
  not_run "package-deb.sh in a fresh copy" "the package profile could not be installed"
fi
if "$root/scripts/install-deps.sh" windows; then
  for folder in build build-windows; do
    [ ! -e "$work/one/$folder" ] || fail "package-deb.sh left $folder/ for build-windows.sh"
  done
  run_in one build-windows.sh
  check_zip one
else
  not_run "build-windows.sh in a fresh copy" "the windows profile could not be installed"
fi

fresh_copy two
# The tracked picture goes first, so that only a new one passes.
rm "$work/two/docs/gallery.png"
run_in two gallery.sh
check_gallery two
if "$root/scripts/install-deps.sh" web; then
  [ ! -e "$work/two/build-web" ] || fail "gallery.sh left build-web/ for build-web.sh"
  run_in two build-web.sh
  check_web_zip two
else
  not_run "build-web.sh in a fresh copy" "the web profile could not be installed"
fi

rm -rf "$work"
echo "test-fresh-clone: package-deb.sh, build-windows.sh, gallery.sh and build-web.sh work on" \
  "fresh copies" >&2
