#!/usr/bin/env bash
# Builds vexmoro and plays the show; options are passed to the program (see --help).
set -euo pipefail
# shellcheck source=scripts/lib.sh
. "$(dirname "$0")/lib.sh"
"$root/scripts/build.sh"
exec "$native/vexmoro" "$@"
