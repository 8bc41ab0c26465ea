#!/usr/bin/env bash
# Builds vexmoro and plays the show; options are passed to the program (see --help).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/build.sh"
exec "${VEXMORO_BUILD_DIR:-$root/build}/vexmoro" "$@"
