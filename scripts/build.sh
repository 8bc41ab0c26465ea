#!/usr/bin/env bash
# Installs what is missing, then configures and builds vexmoro (with its data set) in build/.
# Arguments are passed to cmake's configure step (for example -DVEXMORO_WERROR=ON).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh"
build=${VEXMORO_BUILD_DIR:-$root/build}
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
cmake --build "$build" -j "$(nproc)"
