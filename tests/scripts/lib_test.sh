#!/usr/bin/env bash
# The scripts' shared ways of stopping short, and the install profiles: a step that cannot run
# must fail under CI and be listed elsewhere, and every profile that builds the program must
# install what building needs.
set -euo pipefail
scripts=$(cd "$(dirname "$0")/../../scripts" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
check() {
  echo "FAILED: $*" >&2
  failures=$((failures + 1))
}

# CI value, function, expected status, expected line in the list of steps left out.
cases=(
  "1|not_run|1|"
  "|not_run|0|the step: its reason"
  "|not_run_exit|77|the step: its reason"
)
for entry in "${cases[@]}"; do
  IFS='|' read -r ci function status line <<<"$entry"
  : >"$work/not-run"
  got=0
  env CI="$ci" VEXMORO_NOT_RUN="$work/not-run" bash -c \
    ". '$scripts/lib.sh'; $function 'the step' 'its reason'" 2>"$work/err" || got=$?
  [ "$got" -eq "$status" ] || check "CI='$ci' $function: status $got, not $status"
  [ "$(cat "$work/not-run")" = "$line" ] || check "CI='$ci' $function listed '$(cat "$work/not-run")'"
  grep -q 'the step' "$work/err" || check "CI='$ci' $function said nothing of the step"
done

"$scripts/install-deps.sh" --list play | sort >"$work/play"
for profile in test package windows; do
  "$scripts/install-deps.sh" --list "$profile" | sort >"$work/$profile"
  missing=$(comm -23 "$work/play" "$work/$profile" | xargs)
  [ -z "$missing" ] || check "the $profile profile lacks $missing"
done
[ "$("$scripts/install-deps.sh" --list play clang | tail -n 1)" = clang ] ||
  check "a package named beside a profile is not installed"
status=0
"$scripts/install-deps.sh" --bogus 2>/dev/null || status=$?
[ "$status" -eq 2 ] || check "an unknown option gives status $status, not 2"

[ "$failures" -eq 0 ] || exit 1
echo "lib_test: passed" >&2
