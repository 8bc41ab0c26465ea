#!/usr/bin/env bash
# Cross-builds the libraries of the Windows program, static, from Debian's own source packages,
# and prints the folder they were installed into. Sources come through a private apt setup
# under the Windows build folder (its own sources list and state; the machine's apt is not
# changed), at the versions the Linux build uses where the archive still has them. The result is
# cached outside the clone, in ${XDG_CACHE_HOME:-~/.cache}/vexmoro/windows-deps/KEY/, KEY made
# from those versions, the compiler and this script: every later run, from any clone of this
# machine, only prints it.
set -euo pipefail
# shellcheck source=scripts/lib.sh
. "$(dirname "$0")/lib.sh"
# shellcheck source=scripts/sourcedeps.sh
. "$root/scripts/sourcedeps.sh"
toolchain=$root/cmake/mingw-w64-x86_64.cmake

# Debian source package, and the Linux build's package that must have the same version.
libraries=(
  libogg:libogg-dev libvorbis:libvorbis-dev libpng1.6:libpng-dev
  libjpeg-turbo:libjpeg62-turbo-dev kissfft:libkissfft-dev freetype:libfreetype-dev
  libsoxr:libsoxr-dev libsdl2:libsdl2-dev
)
wanted=()
for entry in "${libraries[@]}"; do
  wanted+=("${entry%%:*}=$(source_version "${entry#*:}")")
done
compiler=$(dpkg-query -W -f='${Version}' g++-mingw-w64-x86-64-posix mingw-w64-x86-64-dev \
  libz-mingw-w64-dev libgtest-dev | tr '\n' ' ')
deps_open windows-deps "$(printf '%s\n' "${wanted[@]}" "$compiler")" "$toolchain"
deps_fetch "$windows_work" "${wanted[@]}"
deps_configure=(cmake -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DVEXMORO_WINDOWS_PREFIX="$prefix")

deps_build libogg install -DINSTALL_DOCS=OFF
deps_build libvorbis install
deps_build libpng1.6 install -DPNG_SHARED=OFF -DPNG_EXECUTABLES=OFF -DPNG_TESTS=OFF
deps_build_jpeg -DWITH_SIMD=ON
# As Debian builds it: -O3, float samples.
deps_build kissfft install -DKISSFFT_STATIC=ON -DKISSFFT_TEST=OFF -DKISSFFT_TOOLS=OFF \
  -DKISSFFT_DATATYPE=float -DCMAKE_C_FLAGS_RELEASE="-O3 -DNDEBUG"
deps_build freetype install -DFT_DISABLE_ZLIB=ON -DFT_DISABLE_BZIP2=ON -DFT_DISABLE_PNG=ON \
  -DFT_DISABLE_HARFBUZZ=ON -DFT_DISABLE_BROTLI=ON
deps_build libsoxr install -DBUILD_TESTS=OFF -DBUILD_EXAMPLES=OFF -DWITH_OPENMP=OFF \
  -DWITH_LSR_BINDINGS=OFF
deps_soxr_pkgconfig
# Video with OpenGL, audio, events, timers and message boxes are all the program asks of SDL.
deps_build libsdl2 install -DSDL_SHARED=OFF -DSDL_STATIC=ON -DSDL_TEST=OFF -DSDL_RENDER=OFF \
  -DSDL_JOYSTICK=OFF -DSDL_HAPTIC=OFF -DSDL_HIDAPI=OFF -DSDL_SENSOR=OFF -DSDL_POWER=OFF \
  -DSDL_VULKAN=OFF -DSDL_DIRECTX=OFF -DSDL_RENDER_D3D=OFF

# GoogleTest for the unit tests that run under Wine, from the Debian package's own sources.
"${deps_configure[@]}" -S /usr/src/googletest -B "$deps_work/deps-build/googletest" \
  -DCMAKE_INSTALL_PREFIX="$prefix" -DCMAKE_BUILD_TYPE=Release -DBUILD_GMOCK=OFF \
  -Dgtest_disable_pthreads=OFF
cmake --build "$deps_work/deps-build/googletest" -j "$jobs" --target install

cp /usr/share/doc/libz-mingw-w64-dev/copyright "$prefix/licenses/zlib.txt"
echo "zlib $(dpkg-query -W -f='${Version}' libz-mingw-w64-dev) (libz-mingw-w64)" >>"$prefix/versions.txt"
deps_close
