#!/usr/bin/env bash
# The test command, CI's and the edit-test loop's:
#   test.sh           everything: shellcheck, the test suite built with warnings as errors, the
#                     loaders' tests under AddressSanitizer and UBSan, the gles3 renderer against
#                     the gl1 one (test-gles3.sh), the Debian package installed
#                     (test-package.sh), the Windows build under Wine (test-windows.sh), the
#                     browser build in headless Chromium (test-web.sh), and the scripts that
#                     build something, each from a fresh copy of the tree (test-fresh-clone.sh)
#   test.sh --quick   shellcheck and the test suite in build/ (unit, rendering, layer check)
# Installs what each step needs. A step this machine cannot take (no root for the package, no
# Wine) fails the run when CI is set; otherwise it is said loudly and listed at the end.
set -euo pipefail
# shellcheck source=scripts/lib.sh
. "$(dirname "$0")/lib.sh"

quick=false
case "$*" in
  "") ;;
  --quick) quick=true ;;
  *)
    sed -n '2,9p' "$0" | sed 's/^# \{0,1\}//' >&2
    exit 2
    ;;
esac

VEXMORO_NOT_RUN=$(mktemp)
export VEXMORO_NOT_RUN
times=()
summary() {
  local status=$?
  echo "=== test: how long each step took" >&2
  printf '  %s\n' "${times[@]}" >&2
  if [ -s "$VEXMORO_NOT_RUN" ]; then
    mapfile -t left_out <"$VEXMORO_NOT_RUN"
    banner "NOT EVERYTHING RAN; left out:" "${left_out[@]/#/  }"
    [ "$status" -ne 0 ] || echo "test: passed, but only what ran (above)" >&2
  elif [ "$status" -eq 0 ]; then
    echo "test: passed" >&2
  fi
  rm -f "$VEXMORO_NOT_RUN"
  # A build left running by a failed step ends with it, all its processes.
  [ -z "${web_deps_pid:-}" ] || kill -- "-$web_deps_pid" 2>/dev/null || true
  return "$status"
}
trap summary EXIT

# Runs one step under errexit and notes its time. Status 77 is a step that did not run, which
# it has said and listed itself; any other failure ends the run.
run_step() {
  local name=$1 start=$SECONDS status
  shift
  echo "=== test: $name" >&2
  set +e
  (
    set -e
    "$@"
  )
  status=$?
  set -e
  times+=("$(printf '%5d s  %s' $((SECONDS - start)) "$name")")
  [ "$status" -eq 0 ] || [ "$status" -eq 77 ] || fail "$name (status $status)"
}

# Every shell script of the tree as a clone has it: by name, or by its first line.
shell_scripts() {
  tree_files | while read -r file; do
    case "$file" in
      *.sh) echo "$file" ;;
      *) if head -n 1 "$root/$file" | grep -Eq '^#! */(usr/)?bin/(env +)?(ba)?sh\b'; then
        echo "$file"
      fi ;;
    esac
  done
}

check_scripts() {
  cd "$root"
  mapfile -t scripts < <(shell_scripts)
  [ ${#scripts[@]} -gt 0 ] || fail "no shell scripts found: the tree is listed by git"
  shellcheck -x "${scripts[@]}"
  echo "shellcheck: ${#scripts[@]} scripts clean" >&2
}

suite() {
  "$root/scripts/build.sh" -DVEXMORO_WERROR=ON -DVEXMORO_TESTS=ON
  cmake --build "$native" -j "$jobs"
  ctest --test-dir "$native" --output-on-failure -j "$jobs"
}

# Every bad access, leak or undefined behaviour in the loaders fails the run.
sanitized() {
  cmake -S "$root" -B "$sanitize_work" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVEXMORO_SANITIZE=ON \
    -DVEXMORO_WERROR=ON -DVEXMORO_TESTS=ON >/dev/null
  cmake --build "$sanitize_work" -j "$jobs" --target sanitizer_tests
  ctest --test-dir "$sanitize_work" --output-on-failure -j "$jobs" -L '^sanitize$'
}

# A script that needs a profile beyond play and test; left out, loudly, when it cannot be had.
with_profile() {
  local profile=$1
  shift
  if "$root/scripts/install-deps.sh" "$profile"; then
    "$@"
  else
    not_run "$(basename "$1")" "the $profile profile could not be installed"
  fi
}

# The browser program's libraries take long to build the first time, mostly in configure checks
# that keep one core busy: they are built beside the steps before the browser's, which waits for
# them (one build of a key at a time). Should this fail, the browser's step builds them again and
# says why.
prebuild_web_deps() {
  "$root/scripts/install-deps.sh" web >&2 || return 0
  setsid "$root/scripts/web-deps.sh" >/dev/null 2>&1 &
  web_deps_pid=$!
}

run_step "install the play and test profiles" "$root/scripts/install-deps.sh" play test
run_step "shellcheck" check_scripts
run_step "test suite in $native" suite
$quick && exit 0
prebuild_web_deps
run_step "sanitizers in $sanitize_work" sanitized
run_step "gles3 renderer against gl1" "$root/scripts/test-gles3.sh"
run_step "Debian package" with_profile package "$root/scripts/test-package.sh"
run_step "Windows build under Wine" with_profile windows "$root/scripts/test-windows.sh"
run_step "browser build in Chromium" with_profile web "$root/scripts/test-web.sh"
run_step "fresh copies of the tree" "$root/scripts/test-fresh-clone.sh"
