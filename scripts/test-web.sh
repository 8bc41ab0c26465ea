#!/usr/bin/env bash
# Proves the browser build in Debian's Chromium, headless, with WebGL 2 on SwiftShader:
#   1. builds it (scripts/build-web.sh) and the Linux ES build it is held against;
#   2. makes what the page is compared with: the Linux ES build's frames at the moments of
#      scripts/frames.py, its benchmark at 10 frames a second, and 12 s of the desktop program's
#      sound output (SDL's disk driver);
#   3. serves the folder on 127.0.0.1 and drives the page through chromium-driver
#      (scripts/webproof.py): no console error or failed request, a WebGL 2 context, the
#      frames within the reference tolerance, the benchmark's frame counts, a live run of 20 s
#      started by a click with its music and clocks, and the picture's shape in three windows.
# Results land in build-web/proofs/.
set -euo pipefail
# shellcheck source=scripts/lib.sh
. "$(dirname "$0")/lib.sh"
proofs=$web_work/proofs

step "the browser build"
"$root/scripts/build-web.sh"
site=$(find "$root/dist" -maxdepth 1 -type d -name "vexmoro-$(configured_version "$web_work/program")-web")

step "the Linux ES build's frames and benchmark, the desktop's sound"
cmake -S "$root" -B "$gles3_work" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVEXMORO_RENDERER=gles3 \
  >/dev/null
cmake --build "$gles3_work" -j "$jobs" --target vexmoro
rm -rf "$proofs"
mkdir -p "$proofs"
python3 "$root/scripts/frames.py" capture "$gles3_work/vexmoro" "$gles3_work" "$proofs/linux" ||
  fail "the Linux ES captures"
SDL_VIDEODRIVER=offscreen "$gles3_work/vexmoro" --root "$gles3_work" --benchmark --fps 10 \
  >"$proofs/linux-benchmark.txt" 2>/dev/null || fail "the Linux ES benchmark"
# The show from its start as the desktop plays it, written by SDL instead of heard.
SDL_VIDEODRIVER=offscreen SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$proofs/desktop-audio.raw" \
  timeout --signal=INT 12 "$native/vexmoro" --windowed --root "$native" >/dev/null 2>&1 || true
[ -s "$proofs/desktop-audio.raw" ] || fail "the desktop program wrote no sound"

step "the page in headless Chromium"
/usr/bin/python3 "$root/scripts/webproof.py" "$site" "$proofs/linux" \
  "$proofs/linux-benchmark.txt" "$proofs/desktop-audio.raw" "$proofs/page" ||
  fail "the browser build (see $proofs/page)"
echo "test-web: passed (results in $proofs)" >&2
