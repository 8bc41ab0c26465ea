#!/usr/bin/env bash
# Builds the show for 64-bit Windows with MinGW-w64 and packs dist/vexmoro-VERSION-win64.zip:
# vexmoro.exe (every library linked in, no DLL), the generated data/ folder and README.txt.
# The libraries come from scripts/windows-deps.sh (cached), the data set from the generator
# built natively. Arguments are passed to the cross build's configure step.
# VEXMORO_WINDOWS_TESTS=ON also builds the unit tests that run under Wine.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh"
work=${VEXMORO_WINDOWS_BUILD_DIR:-$root/build-windows}
native=${VEXMORO_BUILD_DIR:-$root/build}
mingw=x86_64-w64-mingw32
jobs=$(nproc)

prefix=$("$root/scripts/windows-deps.sh")

# Debian's 64-bit Wine loader, outside PATH; the cross-built tests run under it.
wine_loader() {
  dpkg -L wine64 | grep -m1 '/wine64$'
}

# Only the show is cross-built; its data comes from the generator as the Linux build makes it.
cmake -S "$root" -B "$native" >/dev/null
cmake --build "$native" -j "$jobs" --target vexmoro_data >/dev/null

# The Linux build's type, so that both compile the show's arithmetic alike.
program=$work/program
cmake -S "$root" -B "$program" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" \
  -DVEXMORO_WINDOWS_PREFIX="$prefix" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DVEXMORO_TESTS="${VEXMORO_WINDOWS_TESTS:-OFF}" -DCMAKE_CROSSCOMPILING_EMULATOR="$(wine_loader)" \
  "$@" >/dev/null
cmake --build "$program" -j "$jobs"

# Nothing but Windows' own DLLs may be asked for.
system_dlls='^(advapi32|gdi32|glu32|imm32|kernel32|msvcrt|ole32|oleaut32|opengl32|setupapi|shell32|user32|version|winmm)\.dll$'
others=$("$mingw-objdump" -p "$program/vexmoro.exe" | sed -n 's/^\s*DLL Name: //p' |
  tr 'A-Z' 'a-z' | grep -Ev "$system_dlls" || true)
if [ -n "$others" ]; then
  echo "vexmoro.exe needs DLLs that Windows does not have: $others" >&2
  exit 1
fi

version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$program/CMakeCache.txt")
name=vexmoro-$version-win64
stage=$work/$name
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
(cd "$work" && cmake -E tar cf "$zip" --format=zip "$name")
echo "wrote $zip ($(du -k "$zip" | cut -f1) KiB)" >&2
