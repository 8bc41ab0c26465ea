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
work=$windows_work
toolchain=$root/cmake/mingw-w64-x86_64.cmake

# Debian source package, and the Linux build's package that must have the same version.
libraries=(
  libogg:libogg-dev libvorbis:libvorbis-dev libpng1.6:libpng-dev
  libjpeg-turbo:libjpeg62-turbo-dev kissfft:libkissfft-dev freetype:libfreetype-dev
  libsoxr:libsoxr-dev libsdl2:libsdl2-dev
)

source_version() {
  dpkg-query -W -f='${source:Version}' "$1" 2>/dev/null || true
}

wanted=()
for entry in "${libraries[@]}"; do
  wanted+=("${entry%%:*}=$(source_version "${entry#*:}")")
done
compiler=$(dpkg-query -W -f='${Version}' g++-mingw-w64-x86-64-posix mingw-w64-x86-64-dev \
  libz-mingw-w64-dev libgtest-dev | tr '\n' ' ')
key=$(printf '%s\n' "${wanted[@]}" "$compiler" | cat - "$0" "$toolchain" | sha256sum | cut -c1-16)
cache=$cache_home/windows-deps
prefix=$cache/$key
mkdir -p "$cache"
# One build of a key at a time: a second clone waits for the first, then takes its result.
exec 5>"$prefix.lock"
flock 5
if [ -f "$prefix/.complete" ]; then
  echo "$prefix"
  exit 0
fi

log=$prefix.log
echo "Cross-building the Windows libraries from Debian's sources (log: $log)" >&2
# From here on the log takes all output; 3 is where the prefix is printed, 4 the caller's errors.
exec 3>&1 4>&2 >"$log" 2>&1
trap 'echo "failed; the end of $log:" >&4; tail -n 30 "$log" >&4' ERR

# apt, set up to fetch source packages only, all in folders of its own.
apt=$work/apt
mkdir -p "$apt/sources.list.d" "$apt/state/lists/partial" "$apt/cache/archives/partial"
: >"$apt/state/status"
keyring=/usr/share/keyrings/debian-archive-keyring.gpg
cat >"$apt/sources.list" <<LIST
deb-src [signed-by=$keyring] http://deb.debian.org/debian bookworm main
deb-src [signed-by=$keyring] http://deb.debian.org/debian bookworm-updates main
deb-src [signed-by=$keyring] http://deb.debian.org/debian-security bookworm-security main
LIST
cat >"$apt/apt.conf" <<CONF
Dir::Etc::sourcelist "$apt/sources.list";
Dir::Etc::sourceparts "$apt/sources.list.d";
Dir::State "$apt/state";
Dir::State::status "$apt/state/status";
Dir::Cache "$apt/cache";
APT::Sandbox::User "root";
Acquire::Languages "none";
CONF
export APT_CONFIG=$apt/apt.conf
apt-get update -q

# The version asked for where the archive still serves it; otherwise the newest it serves (a
# later Debian revision of the same release, as security updates replace the older ones).
fetch() {
  local name=$1 version=$2 candidates
  candidates=$( (
    [ -n "$version" ] && echo "$version"
    apt-cache showsrc "$name" | sed -n 's/^Version: //p' | sort -rV
  ) | awk '!seen[$0]++')
  for candidate in $candidates; do
    if apt-get source -q "$name=$candidate"; then
      [ "$candidate" = "$version" ] || echo "note: $name $version is no longer served; took $candidate" >&4
      echo "$name $candidate" >>"$prefix/versions.txt"
      return 0
    fi
  done
  echo "no version of $name could be fetched" >&4
  return 1
}

rm -rf "$prefix" "$work/sources" "$work/deps-build"
mkdir -p "$prefix/licenses" "$work/sources" "$work/deps-build"
cd "$work/sources"
for spec in "${wanted[@]}"; do fetch "${spec%%=*}" "${spec#*=}"; done

source_dir() {
  find "$work/sources" -mindepth 1 -maxdepth 1 -type d -name "$1-*" | head -n 1
}

# One library: configured with the toolchain, built with the given target (install: installed
# into the prefix); its Debian copyright file becomes its licence text.
build() {
  local name=$1 target=$2
  shift 2
  local src
  src=$(source_dir "$name")
  cp "$src/debian/copyright" "$prefix/licenses/$name.txt"
  cmake -S "$src" -B "$work/deps-build/$name" -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
    -DVEXMORO_WINDOWS_PREFIX="$prefix" -DCMAKE_INSTALL_PREFIX="$prefix" \
    -DCMAKE_INSTALL_LIBDIR=lib -DCMAKE_INSTALL_INCLUDEDIR=include -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_C_FLAGS_RELEASE="-O2 -DNDEBUG" -DBUILD_SHARED_LIBS=OFF "$@"
  cmake --build "$work/deps-build/$name" -j "$jobs" --target "$target"
}

build libogg install -DINSTALL_DOCS=OFF
build libvorbis install
build libpng1.6 install -DPNG_SHARED=OFF -DPNG_EXECUTABLES=OFF -DPNG_TESTS=OFF
# The library alone, without its tools, with the libjpeg 6b interface (version 62).
build libjpeg-turbo jpeg-static -DENABLE_SHARED=OFF -DWITH_TURBOJPEG=OFF
jpeg_build=$work/deps-build/libjpeg-turbo
cp "$jpeg_build/libjpeg.a" "$prefix/lib/"
cp "$jpeg_build/jconfig.h" "$(source_dir libjpeg-turbo)"/{jpeglib.h,jmorecfg.h,jerror.h} \
  "$prefix/include/"
# As Debian builds it: -O3, float samples.
build kissfft install -DKISSFFT_STATIC=ON -DKISSFFT_TEST=OFF -DKISSFFT_TOOLS=OFF \
  -DKISSFFT_DATATYPE=float -DCMAKE_C_FLAGS_RELEASE="-O3 -DNDEBUG"
build freetype install -DFT_DISABLE_ZLIB=ON -DFT_DISABLE_BZIP2=ON -DFT_DISABLE_PNG=ON \
  -DFT_DISABLE_HARFBUZZ=ON -DFT_DISABLE_BROTLI=ON
build libsoxr install -DBUILD_TESTS=OFF -DBUILD_EXAMPLES=OFF -DWITH_OPENMP=OFF \
  -DWITH_LSR_BINDINGS=OFF
# libsoxr writes its pkg-config file on Unix systems only.
cat >"$prefix/lib/pkgconfig/soxr.pc" <<PC
prefix=$prefix
Name: soxr
Description: One-dimensional sample-rate conversion library
Version: $(sed -n 's/^libsoxr \([0-9.]*\).*/\1/p' "$prefix/versions.txt")
Libs: -L\${prefix}/lib -lsoxr
Cflags: -I\${prefix}/include
PC
# Video with OpenGL, audio, events, timers and message boxes are all the program asks of SDL.
build libsdl2 install -DSDL_SHARED=OFF -DSDL_STATIC=ON -DSDL_TEST=OFF -DSDL_RENDER=OFF \
  -DSDL_JOYSTICK=OFF -DSDL_HAPTIC=OFF -DSDL_HIDAPI=OFF -DSDL_SENSOR=OFF -DSDL_POWER=OFF \
  -DSDL_VULKAN=OFF -DSDL_DIRECTX=OFF -DSDL_RENDER_D3D=OFF

# GoogleTest for the unit tests that run under Wine, from the Debian package's own sources.
cmake -S /usr/src/googletest -B "$work/deps-build/googletest" -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
  -DVEXMORO_WINDOWS_PREFIX="$prefix" -DCMAKE_INSTALL_PREFIX="$prefix" \
  -DCMAKE_BUILD_TYPE=Release -DBUILD_GMOCK=OFF -Dgtest_disable_pthreads=OFF
cmake --build "$work/deps-build/googletest" -j "$jobs" --target install

cp /usr/share/doc/libz-mingw-w64-dev/copyright "$prefix/licenses/zlib.txt"
echo "zlib $(dpkg-query -W -f='${Version}' libz-mingw-w64-dev) (libz-mingw-w64)" >>"$prefix/versions.txt"
rm -rf "$work/deps-build"
touch "$prefix/.complete"
echo "$prefix" >&3
