#!/usr/bin/env bash
# Proves the gles3 renderer against the fixed-function one, both built from this tree:
#   1. builds the gles3 variant in build-gles3/ (warnings as errors, with its tests) and runs its
#      suite: the layer's own tests, the light, fog and sphere map against hand-worked values,
#      the heap allocations per frame, the benchmark and the reference frames;
#   2. captures the reference moments of scripts/frames.py with both builds and compares them
#      frame by frame with the reference frames' tolerance, printing for each the largest
#      difference, the share of pixels past the limit and the PSNR.
# Needs the gl1 program in build/ (scripts/build.sh makes it). Results land in build-gles3/proofs/.
set -euo pipefail
# shellcheck source=scripts/lib.sh
. "$(dirname "$0")/lib.sh"
proofs=$gles3_work/proofs

step "the gles3 build in $gles3_work"
cmake -S "$root" -B "$gles3_work" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVEXMORO_RENDERER=gles3 \
  -DVEXMORO_WERROR=ON -DVEXMORO_TESTS=ON >/dev/null
cmake --build "$gles3_work" -j "$jobs"
ctest --test-dir "$gles3_work" --output-on-failure -j "$jobs"

step "frames of both renderers at the reference moments"
"$root/scripts/build.sh" >/dev/null
rm -rf "$proofs"
mkdir -p "$proofs"
python3 "$root/scripts/frames.py" capture "$native/vexmoro" "$native" "$proofs/gl1" ||
  fail "the gl1 captures"
python3 "$root/scripts/frames.py" capture "$gles3_work/vexmoro" "$gles3_work" "$proofs/gles3" ||
  fail "the gles3 captures"
python3 "$root/scripts/frames.py" compare "$proofs/gl1" "$proofs/gles3" | tee "$proofs/frames.txt" >&2 ||
  fail "the gles3 renderer's frames differ from the gl1 renderer's past the tolerance"
echo "test-gles3: passed (results in $proofs)" >&2
