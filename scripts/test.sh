#!/usr/bin/env bash
# Builds vexmoro and runs the whole test suite, then the loaders' tests under the sanitizers,
# then builds the Debian package and tests it installed (scripts/test-package.sh), then proves
# the Windows build under Wine (scripts/test-windows.sh).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/build.sh" -DVEXMORO_WERROR=ON
(cd "${VEXMORO_BUILD_DIR:-$root/build}" && ctest --output-on-failure -j "$(nproc)")

# The loaders' tests and the replay of every kept damaging file once more, built with
# AddressSanitizer and UBSan: any bad access, leak or undefined behaviour fails the run.
loader_tests=(test_jpeg test_pngbind test_tga test_texture test_eglbrush test_meshgeometry
  test_meshdraw test_barfile test_oggdecoder test_vorbissetup test_bass test_framespectrum
  test_regression)
sanitize=${VEXMORO_SANITIZE_BUILD_DIR:-$root/build-sanitize}
cmake -S "$root" -B "$sanitize" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVEXMORO_SANITIZE=ON \
  -DVEXMORO_WERROR=ON >/dev/null
cmake --build "$sanitize" -j "$(nproc)" --target "${loader_tests[@]}"
labels=$(IFS='|'; echo "${loader_tests[*]}")
cd "$sanitize"
ctest --output-on-failure -j "$(nproc)" -L "^($labels)\$"

"$root/scripts/test-package.sh"
"$root/scripts/test-windows.sh"
