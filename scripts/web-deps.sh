#!/usr/bin/env bash
# Builds the libraries of the browser program for WebAssembly with Debian's emscripten, static,
# from Debian's own source packages, and prints the folder they were installed into. Sources come
# through a private apt setup under the web build folder, at the versions the Linux build uses
# where the archive still has them (Emscripten's own ports would download from the internet).
# The result is cached outside the clone, in ${XDG_CACHE_HOME:-~/.cache}/vexmoro/web-deps/KEY/,
# KEY made from those versions, emscripten's and this script: every later run, from any clone of
# this machine, only prints it.
set -euo pipefail
# shellcheck source=scripts/lib.sh
. "$(dirname "$0")/lib.sh"
# shellcheck source=scripts/sourcedeps.sh
. "$root/scripts/sourcedeps.sh"

# Debian source package, and the Linux build's package that must have the same version.
libraries=(
  zlib:zlib1g-dev libpng1.6:libpng-dev libjpeg-turbo:libjpeg62-turbo-dev libogg:libogg-dev
  libvorbis:libvorbis-dev kissfft:libkissfft-dev libsoxr:libsoxr-dev libsdl2:libsdl2-dev
)
wanted=()
for entry in "${libraries[@]}"; do
  wanted+=("${entry%%:*}=$(source_version "${entry#*:}")")
done
compiler=$(dpkg-query -W -f='${Version}' emscripten clang-14 binaryen | tr '\n' ' ')
deps_open web-deps "$(printf '%s\n' "${wanted[@]}" "$compiler")"
deps_fetch "$web_work" "${wanted[@]}"
# Emscripten's toolchain, finding what is built here besides its own sysroot, with no emulator:
# the node on PATH may be too new for this emscripten's JavaScript.
export NODE_PATH=/usr/share/nodejs
deps_configure=(emcmake cmake -DCMAKE_FIND_ROOT_PATH="$prefix" -DCMAKE_PREFIX_PATH="$prefix"
  -DCMAKE_CROSSCOMPILING_EMULATOR=)

# CMake's type-size check looks for its answer in the .js that emscripten links, where it is not
# (it lies in the .wasm): the sizes a library asks for are given, as wasm32 has them.
type_sizes() {
  local entry
  for entry in "$@"; do
    printf -- '-DHAVE_%s=TRUE\n-D%s\n' "${entry%%=*}" "$entry"
  done
}

# zlib with its own configure script: Debian's sources leave out the Windows files its CMake
# build asks for.
zlib=$(deps_source_dir zlib)
cp "$zlib/debian/copyright" "$prefix/licenses/zlib.txt"
(cd "$zlib" && emconfigure ./configure --static --prefix="$prefix" && emmake make -j "$jobs" install)
deps_build libpng1.6 install -DPNG_SHARED=OFF -DPNG_EXECUTABLES=OFF -DPNG_TESTS=OFF \
  -DPNG_HARDWARE_OPTIMIZATIONS=OFF -DZLIB_ROOT="$prefix"
mapfile -t sizes < <(type_sizes SIZE_T=4 UNSIGNED_LONG=4)
deps_build_jpeg -DWITH_SIMD=OFF "${sizes[@]}"
mapfile -t sizes < <(type_sizes INT16_SIZE=2 UINT16_SIZE=2 U_INT16_SIZE=2 INT32_SIZE=4 \
  UINT32_SIZE=4 U_INT32_SIZE=4 INT64_SIZE=8 SHORT_SIZE=2 INT_SIZE=4 LONG_SIZE=4 LONG_LONG_SIZE=8)
deps_build libogg install -DINSTALL_DOCS=OFF "${sizes[@]}"
deps_build libvorbis install
# As Debian builds it: -O3, float samples.
deps_build kissfft install -DKISSFFT_STATIC=ON -DKISSFFT_TEST=OFF -DKISSFFT_TOOLS=OFF \
  -DKISSFFT_DATATYPE=float -DCMAKE_C_FLAGS_RELEASE="-O3 -DNDEBUG"
deps_build libsoxr install -DBUILD_TESTS=OFF -DBUILD_EXAMPLES=OFF -DWITH_OPENMP=OFF \
  -DWITH_LSR_BINDINGS=OFF
deps_soxr_pkgconfig
# Video with WebGL, audio and events are all the program asks of SDL; the page runs one thread.
deps_build libsdl2 install -DSDL_SHARED=OFF -DSDL_STATIC=ON -DSDL_TEST=OFF -DSDL_THREADS=OFF \
  -DSDL_RENDER=OFF -DSDL_JOYSTICK=OFF -DSDL_HAPTIC=OFF -DSDL_SENSOR=OFF -DSDL_POWER=OFF
deps_close
