#!/usr/bin/env bash
# Builds the show for the browser with Debian's emscripten and packs dist/vexmoro-VERSION-web.zip
# (and the folder dist/vexmoro-VERSION-web/): index.html and page.js, the program as vexmoro.js
# and vexmoro.wasm, the data set packed as vexmoro.data, the loading picture and README.txt.
# The libraries come from scripts/web-deps.sh (cached), the data set from the generator built
# natively. Arguments are passed to the browser build's configure step.
set -euo pipefail
# shellcheck source=scripts/lib.sh
. "$(dirname "$0")/lib.sh"
# shellcheck source=scripts/sourcedeps.sh
. "$root/scripts/sourcedeps.sh"
"$root/scripts/install-deps.sh" web
# emcc's JavaScript tools find their modules only in Debian's node folder.
export NODE_PATH=/usr/share/nodejs

prefix=$("$root/scripts/web-deps.sh")
# The data set and the options README.txt lists come from the Linux build.
"$root/scripts/build.sh" >/dev/null

# -O2 as the Linux build compiles the show's arithmetic, without its debug information.
program=$web_work/program
PKG_CONFIG_LIBDIR=$prefix/lib/pkgconfig emcmake cmake -S "$root" -B "$program" \
  -DCMAKE_BUILD_TYPE=Release -DCMAKE_C_FLAGS_RELEASE="-O2 -DNDEBUG" \
  -DCMAKE_CXX_FLAGS_RELEASE="-O2 -DNDEBUG" -DVEXMORO_RENDERER=gles3 -DVEXMORO_TESTS=OFF \
  -DVEXMORO_WEB_DATA="$native/data" -DCMAKE_FIND_ROOT_PATH="$prefix" \
  -DCMAKE_PREFIX_PATH="$prefix" -DCMAKE_CROSSCOMPILING_EMULATOR= "$@" >/dev/null
cmake --build "$program" -j "$jobs" --target vexmoro

version=$(configured_version "$program")
name=vexmoro-$version-web
stage=$root/dist/$name
rm -rf "$stage"
mkdir -p "$stage"
cp "$program"/vexmoro.{js,wasm,data} "$root"/web/{index.html,page.js} "$stage/"
cp "$native/data/textures/loading.jpg" "$stage/"
deps_linked_libraries "$program/CMakeFiles/vexmoro.dir"
options=$("$native/vexmoro" --help | sed -e '/^Usage:/d' -e 's/^/    /' -e 's/^ *$//')
licences() {
  deps_licences "$prefix"
  printf '\n\n=== The C and C++ runtime (musl, libc++, libc++abi) and loader of Emscripten ===\n\n'
  cat /usr/share/doc/emscripten/copyright
}
deps_readme "$root/packaging/web/README.txt" "$version" <(echo "$options") \
  <(deps_listing "$prefix"; echo "- Emscripten's runtime (musl, libc++), from Debian's emscripten") \
  <(licences) $'\n' >"$stage/README.txt"

zip=$root/dist/$name.zip
rm -f "$zip"
(cd "$root/dist" && cmake -E tar cf "$zip" --format=zip "$name")
echo "wrote $zip ($(du -k "$zip" | cut -f1) KiB) and $stage" >&2
