#!/usr/bin/env bash
# Proves the Windows program under Wine on a virtual X server, against the Linux build of the
# same commit (built in build/ as scripts/build.sh makes it):
#   1. --version and --help answer as on Linux;
#   2. captures at the reference moments of scripts/frames.py (every scene and its phases), and
#      the loading picture, give the Linux build's frames;
#   3. a benchmark of the whole show with music exits 0 with the Linux build's frame counts;
#   4. 10 s of a live windowed run, recorded by SDL's disk audio driver, is the music;
#   5. a live windowed run from 200 s shows its Time= caption and ends on Escape with status 0;
#   6. the window-free unit tests, cross-built, pass under Wine.
# Results and a screenshot of the Wine window land in build-windows/proofs/.
set -euo pipefail
# shellcheck source=scripts/lib.sh
. "$(dirname "$0")/lib.sh"
work=$windows_work
proofs=$work/proofs

if [ "${1:-}" != --under-x ]; then
  "$root/scripts/install-deps.sh" windows test
  VEXMORO_WINDOWS_TESTS=ON "$root/scripts/build-windows.sh" -DVEXMORO_WERROR=ON
  rm -rf "$proofs"
  mkdir -p "$proofs"
  # A screen large enough that a centred message box never covers the show's 800 by 600 window.
  exec xvfb-run -a -s '-screen 0 2400x1800x24' "$0" --under-x
fi

wine=$(wine_program wine64)
wineserver=$(wine_program wineserver64)
export WINEPREFIX=$work/wine WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
version=$(configured_version "$work/program")
shipped=$work/vexmoro-$version-win64
exe=$shipped/vexmoro.exe
linux=$native/vexmoro
failures=0
# Here a failed proof is counted and the others still run, where lib.sh's fail would end the run.
fail() {
  echo "FAILED: $*" >&2
  failures=$((failures + 1))
}
trap '"$wineserver" -k 2>/dev/null || true' EXIT
mkdir -p "$WINEPREFIX"
"$wineserver" -p  # one server for every run, so that concurrent starts do not race for it
"$wine" wineboot -u >/dev/null 2>&1 || true

echo "1. --version and --help" >&2
for option in --version --help; do
  # Windows ends its text lines with CR LF.
  "$wine" "$exe" "$option" >"$proofs/windows$option.crlf" || fail "$option exits non-zero"
  tr -d '\r' <"$proofs/windows$option.crlf" >"$proofs/windows$option.txt"
  "$linux" "$option" >"$proofs/linux$option.txt"
  diff "$proofs/linux$option.txt" "$proofs/windows$option.txt" >&2 || fail "$option differs"
done

echo "2. frames at the reference moments" >&2
# scripts/frames.py's moments: every scene and its phases, the credits and bars with the music.
python3 "$root/scripts/frames.py" capture "$linux" "$native" "$proofs/frames-linux" \
  2>"$proofs/frames-linux.log" &
linux_captures=$!
# The Windows program draws offscreen in a hidden window of its own driver.
SDL_VIDEODRIVER=windows python3 "$root/scripts/frames.py" capture --runner "$wine" "$exe" \
  "$("$wine" winepath -w "$shipped" 2>/dev/null)" "$proofs/frames-windows" \
  2>"$proofs/frames-windows.log" || echo "captures failed" >>"$proofs/frames-windows.log"
wait "$linux_captures" || echo "captures failed" >>"$proofs/frames-linux.log"
# The loading picture: a data folder without the music holds each build on its loading screen
# while the box that says so waits; the show's window is grabbed then, and the program ended.
loading_root=$proofs/root-without-music
mkdir -p "$loading_root/data"
for folder in textures objects; do ln -s "$native/data/$folder" "$loading_root/data/$folder"; done
window_named() {
  xwininfo -root -tree | awk -v name="\"$1\":" 'index($0, name) { print $1; exit }'
}
grab_loading() {
  local out=$1 log=$2 pid window=
  "${@:3}" --windowed >/dev/null 2>&1 &
  pid=$!
  for _ in $(seq 240); do
    [ -n "$(window_named 'CBass::init()')" ] && window=$(window_named '1337 vexmoro') && break
    sleep 0.5
  done
  if [ -n "$window" ]; then
    ffmpeg -v error -y -f x11grab -window_id "$window" -i "$DISPLAY" -frames:v 1 "$out"
  else
    echo "capture of the loading picture failed: no box came up" >>"$log"
  fi
  kill "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
}
SDL_AUDIODRIVER=dummy grab_loading "$proofs/frames-linux/frame-loading.png" \
  "$proofs/frames-linux.log" "$linux" --root "$loading_root"
SDL_AUDIODRIVER=dummy grab_loading "$proofs/frames-windows/frame-loading.png" \
  "$proofs/frames-windows.log" "$wine" "$exe" \
  --root "$("$wine" winepath -w "$loading_root" 2>/dev/null)"
# Both builds draw through the same Mesa: no more than 0.1% of a frame's pixels may be off by
# more than one level.
python3 "$root/scripts/frames.py" compare --limit 1 --share 0.1 "$proofs/frames-linux" \
  "$proofs/frames-windows" | tee "$proofs/frames.txt" >&2 || fail "frames differ"
grep -h failed "$proofs"/frames-*.log >&2 && fail "a capture failed"

echo "3. benchmark with music" >&2
"$linux" --benchmark --fps 10 2>/dev/null | tail -n 1 >"$proofs/benchmark-linux.json" &
linux_benchmark=$!
"$wine" "$exe" --benchmark --fps 10 2>/dev/null | tail -n 1 >"$proofs/benchmark-windows.json" ||
  fail "the benchmark exits non-zero"
wait "$linux_benchmark" || fail "the Linux benchmark exits non-zero"
counts() {
  python3 -c 'import json, sys
run = json.load(open(sys.argv[1]))
print(" ".join(f"{s['"'"'name'"'"']}={s['"'"'frames'"'"']}" for s in run["scenes"]), f"show={run['"'"'show'"'"']['"'"'frames'"'"']}")' "$1"
}
echo "Linux: $(counts "$proofs/benchmark-linux.json")" >&2
echo "Windows: $(counts "$proofs/benchmark-windows.json")" >&2
[ "$(counts "$proofs/benchmark-linux.json")" = "$(counts "$proofs/benchmark-windows.json")" ] ||
  fail "per-scene frame counts differ"

echo "4. music of a 10 s live run" >&2
musics=("$shipped"/data/music/*.ogg)
music=${musics[0]}
SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$("$wine" winepath -w "$proofs/music.raw" 2>/dev/null)" \
  "$wine" "$exe" --windowed --start 199.2 >/dev/null 2>"$proofs/music.log" ||
  fail "the live run with music exits non-zero"
ffmpeg -v error -y -ss 195 -i "$music" -f s16le -ac 2 -ar 44100 "$proofs/decoded.raw"
python3 "$root/tests/windows/compare.py" music "$proofs/decoded.raw" "$proofs/music.raw" 44100 |
  tee "$proofs/music.txt" >&2 || fail "the recorded music does not match"

echo "5. live window, Escape" >&2
SDL_AUDIODRIVER=dummy "$wine" "$exe" --windowed --start 200 >/dev/null 2>"$proofs/live.log" &
live=$!
window=
for _ in $(seq 120); do
  window=$(xdotool search --name '^Time=' 2>/dev/null | head -n 1) && [ -n "$window" ] && break
  sleep 0.5
done
if [ -n "$window" ]; then
  xdotool windowfocus "$window"
  ffmpeg -v error -y -f x11grab -window_id "$window" -i "$DISPLAY" -frames:v 1 \
    "$proofs/screenshot.png" || true
  xdotool key Escape
  status=0
  timeout 30 tail --pid="$live" -f /dev/null || fail "Escape did not end the run"
  wait "$live" || status=$?
  [ "$status" -eq 0 ] || fail "the live run exits with $status after Escape"
else
  fail "no window with a Time= caption appeared"
  kill "$live" 2>/dev/null || true
fi

echo "6. unit tests under Wine" >&2
(cd "$work/program" && ctest --output-on-failure -j "$jobs") >&2 || fail "unit tests under Wine"

if [ "$failures" -gt 0 ]; then
  echo "test-windows: $failures proofs failed" >&2
  exit 1
fi
echo "test-windows: all six proofs passed (results in $proofs)" >&2
