#!/usr/bin/env bash
# Installs what building needs when it is missing (the play profile), then configures build/ and
# builds the program and its data set there; the tests are built by scripts/test.sh. Arguments
# are passed to cmake's configure step (for example -DVEXMORO_WERROR=ON).
set -euo pipefail
# shellcheck source=scripts/lib.sh
. "$(dirname "$0")/lib.sh"
"$root/scripts/install-deps.sh" play
cmake -S "$root" -B "$native" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
cmake --build "$native" -j "$jobs" --target vexmoro
