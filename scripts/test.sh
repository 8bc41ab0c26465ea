#!/usr/bin/env bash
# Builds vexmoro and runs the whole test suite.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/build.sh" -DVEXMORO_WERROR=ON
cd "${VEXMORO_BUILD_DIR:-$root/build}"
ctest --output-on-failure -j "$(nproc)"
