#!/usr/bin/env bash
# Builds the show for 64-bit Windows with MinGW-w64 and packs dist/vexmoro-VERSION-win64.zip:
# vexmoro.exe (every library linked in, no DLL), the generated data/ folder and README.txt.
# The libraries come from scripts/windows-deps.sh (cached), the data set from the generator
# built natively. Arguments are passed to the cross build's configure step.
# VEXMORO_WINDOWS_TESTS=ON also builds the unit tests that run under Wine.
set -euo pipefail
# shellcheck source=scripts/lib.sh
. "$(dirname "$0")/lib.sh"
"$root/scripts/install-deps.sh" windows
mingw=x86_64-w64-mingw32

prefix=$("$root/scripts/windows-deps.sh")

# Only the show is cross-built; its data comes from the generator as the Linux build makes it,
# and the options that README.txt lists from the Linux program.
"$root/scripts/build.sh" >/dev/null

# The Linux build's type, so that both compile the show's arithmetic alike.
program=$windows_work/program
cmake -S "$root" -B "$program" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" \
  -DVEXMORO_WINDOWS_PREFIX="$prefix" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DVEXMORO_TESTS="${VEXMORO_WINDOWS_TESTS:-OFF}" \
  -DCMAKE_CROSSCOMPILING_EMULATOR="$(wine_program wine64)" "$@" >/dev/null
cmake --build "$program" -j "$jobs"

# Nothing but Windows' own DLLs may be asked for.
system_dlls='^(advapi32|gdi32|glu32|imm32|kernel32|msvcrt|ole32|oleaut32|opengl32|setupapi|shell32|user32|version|winmm)\.dll$'
others=$("$mingw-objdump" -p "$program/vexmoro.exe" | sed -n 's/^\s*DLL Name: //p' |
  tr '[:upper:]' '[:lower:]' | grep -Ev "$system_dlls" || true)
[ -z "$others" ] || fail "vexmoro.exe needs DLLs that Windows does not have: $others"

version=$(configured_version "$program")
name=vexmoro-$version-win64
stage=$windows_work/$name
rm -rf "$stage"
mkdir -p "$stage"
"$mingw-strip" -o "$stage/vexmoro.exe" "$program/vexmoro.exe"
cp -r "$native/data" "$stage/data"
rm -f "$stage/data/.generated"
"$root/scripts/windows-readme.sh" "$version" "$prefix" "$native/vexmoro" \
  "$program/CMakeFiles/vexmoro.dir" >"$stage/README.txt"

mkdir -p "$root/dist"
zip=$root/dist/$name.zip
rm -f "$zip"
(cd "$windows_work" && cmake -E tar cf "$zip" --format=zip "$name")
echo "wrote $zip ($(du -k "$zip" | cut -f1) KiB)" >&2
