# What the scripts that cross-build libraries from Debian's own source packages share
# (windows-deps.sh, web-deps.sh): a cache folder per key outside the clone, built by one clone at
# a time; the sources fetched through an apt setup of their own (the machine's apt is not
# changed), at the versions the Linux build uses where the archive still serves them; and one
# CMake build per library, installed into the cache folder with its Debian copyright file as its
# licence. Sourced after lib.sh (root, jobs, cache_home), never run; needs bash. A script sets
# the array deps_configure, its toolchain's configure command, before building.
# shellcheck shell=bash disable=SC2034,SC2154

# The Debian source version of an installed package, empty when it is not installed.
source_version() {
  dpkg-query -W -f='${source:Version}' "$1" 2>/dev/null || true
}

# deps_open KIND KEY_TEXT [FILE...]: the cache folder $prefix for the key made of KEY_TEXT, the
# calling script, this file and FILEs. When it is complete, prints it and ends the script;
# otherwise takes the lock and from then on sends all output to $prefix.log (3 is the caller's
# standard output, 4 its standard error).
deps_open() {
  local kind=$1 text=$2
  shift 2
  key=$(printf '%s\n' "$text" | cat - "$0" "${BASH_SOURCE[0]}" "$@" | sha256sum | cut -c1-16)
  mkdir -p "$cache_home/$kind"
  prefix=$cache_home/$kind/$key
  log=$prefix.log
  exec 5>"$prefix.lock"
  flock 5
  if [ -f "$prefix/.complete" ]; then
    echo "$prefix"
    exit 0
  fi
  echo "Building the $kind libraries from Debian's sources (log: $log)" >&2
  exec 3>&1 4>&2 >"$log" 2>&1
  trap 'echo "failed; the end of $log:" >&4; tail -n 30 "$log" >&4' ERR
  rm -rf "$prefix"
  mkdir -p "$prefix/licenses"
}

# deps_fetch WORK NAME=VERSION...: the source packages into WORK/sources, through an apt setup
# under WORK/apt; each taken at its version where the archive still serves it, otherwise at the
# newest it serves (a later Debian revision of the same release, as security updates replace
# the older ones). The versions taken go to $prefix/versions.txt.
deps_fetch() {
  deps_work=$1
  shift
  local apt=$deps_work/apt spec
  mkdir -p "$apt/sources.list.d" "$apt/state/lists/partial" "$apt/cache/archives/partial"
  : >"$apt/state/status"
  local keyring=/usr/share/keyrings/debian-archive-keyring.gpg
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
  rm -rf "$deps_work/sources" "$deps_work/deps-build"
  mkdir -p "$deps_work/sources" "$deps_work/deps-build"
  for spec in "$@"; do
    (cd "$deps_work/sources" && deps_fetch_one "${spec%%=*}" "${spec#*=}")
  done
}

deps_fetch_one() {
  local name=$1 version=$2 candidates candidate
  candidates=$( (
    [ -n "$version" ] && echo "$version"
    apt-cache showsrc "$name" | sed -n 's/^Version: //p' | sort -rV
  ) | awk '!seen[$0]++')
  for candidate in $candidates; do
    if apt-get source -q "$name=$candidate"; then
      [ "$candidate" = "$version" ] ||
        echo "note: $name $version is no longer served; took $candidate" >&4
      echo "$name $candidate" >>"$prefix/versions.txt"
      return 0
    fi
  done
  echo "no version of $name could be fetched" >&4
  return 1
}

deps_source_dir() {
  find "$deps_work/sources" -mindepth 1 -maxdepth 1 -type d -name "$1-*" | head -n 1
}

# deps_build NAME TARGET ARG...: one library configured by the command in the array
# deps_configure (the toolchain's), built with TARGET (install: installed into the prefix).
deps_build() {
  local name=$1 target=$2 src
  shift 2
  src=$(deps_source_dir "$name")
  cp "$src/debian/copyright" "$prefix/licenses/$name.txt"
  "${deps_configure[@]}" -S "$src" -B "$deps_work/deps-build/$name" \
    -DCMAKE_INSTALL_PREFIX="$prefix" -DCMAKE_INSTALL_LIBDIR=lib -DCMAKE_INSTALL_INCLUDEDIR=include \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_C_FLAGS_RELEASE="-O2 -DNDEBUG" -DBUILD_SHARED_LIBS=OFF "$@"
  cmake --build "$deps_work/deps-build/$name" -j "$jobs" --target "$target"
}

# libjpeg-turbo's library alone, without its tools, with the libjpeg 6b interface (version 62);
# the arguments say whether its SIMD code is built.
deps_build_jpeg() {
  deps_build libjpeg-turbo jpeg-static -DENABLE_SHARED=OFF -DWITH_TURBOJPEG=OFF "$@"
  local built=$deps_work/deps-build/libjpeg-turbo
  cp "$built/libjpeg.a" "$prefix/lib/"
  cp "$built/jconfig.h" "$(deps_source_dir libjpeg-turbo)"/{jpeglib.h,jmorecfg.h,jerror.h} \
    "$prefix/include/"
}

# libsoxr writes its pkg-config file on Unix systems only.
deps_soxr_pkgconfig() {
  mkdir -p "$prefix/lib/pkgconfig"
  cat >"$prefix/lib/pkgconfig/soxr.pc" <<PC
prefix=$prefix
Name: soxr
Description: One-dimensional sample-rate conversion library
Version: $(sed -n 's/^libsoxr \([0-9.]*\).*/\1/p' "$prefix/versions.txt")
Libs: -L\${prefix}/lib -lsoxr
Cflags: -I\${prefix}/include
PC
}

# The build folders go; the cache folder is marked complete and printed.
deps_close() {
  rm -rf "$deps_work/deps-build"
  touch "$prefix/.complete"
  echo "$prefix" >&3
}

# The README of a zip that carries these libraries. deps_linked_libraries LINK_FOLDER sets
# `libraries` to those that the program's link command (in CMake's folder of the target) names,
# each "source package|what the show uses it for".
deps_linked_libraries() {
  local link_folder=$1 entry archive
  # Source package, its archive's name in the link command, what the show uses it for.
  local all=(
    "libsdl2|SDL2|SDL 2: the window, the OpenGL context, keys, sound output, message boxes"
    "libjpeg-turbo|jpeg|libjpeg-turbo: decodes the JPEG pictures (libjpeg 6b interface)"
    "libpng1.6|png|libpng: reads PNG pictures, writes the PNG frames of a capture"
    "zlib|z|zlib: the compression under PNG"
    "libogg|ogg|libogg: the Ogg container of the music"
    "libvorbis|vorbis|libvorbis: decodes the Vorbis music"
    "kissfft|kissfft-float|KISS FFT: the music's spectrum that the scenes react to"
    "freetype|freetype|FreeType: glyphs of the bitmap font"
    "libsoxr|soxr|libsoxr: resamples music that is not at 44.1 kHz"
  )
  libraries=()
  for entry in "${all[@]}"; do
    archive=$(echo "$entry" | cut -d'|' -f2)
    if cat "$link_folder"/link.txt "$link_folder"/*.rsp 2>/dev/null |
      grep -Eq "(/lib${archive}[0-9]*\\.a|-l$archive)(\"| |\$)"; then
      libraries+=("$(echo "$entry" | cut -d'|' -f1,3)")
    fi
  done
}

# deps_listing PREFIX: one line per library of `libraries`, with the version built.
deps_listing() {
  local entry name version_line
  for entry in "${libraries[@]}"; do
    name=${entry%%|*}
    version_line=$(grep "^$name " "$1/versions.txt" | cut -d' ' -f2-)
    if [ -n "$version_line" ]; then
      printf -- '- %s (Debian source %s %s)\n' "${entry#*|}" "$name" "$version_line"
    fi
  done
}

# deps_licences PREFIX: the licence of each library of `libraries`, in full.
deps_licences() {
  local entry name
  for entry in "${libraries[@]}"; do
    name=${entry%%|*}
    [ -f "$1/licenses/$name.txt" ] || continue
    printf '\n\n=== %s ===\n\n' "${entry#*|}"
    cat "$1/licenses/$name.txt"
  done
}

# deps_readme TEMPLATE VERSION OPTIONS LISTING LICENCES NEWLINE: the template with @VERSION@,
# @OPTIONS@ and @LIBRARIES@ filled from those files, its lines ended by NEWLINE.
deps_readme() {
  python3 - "$@" <<'PY'
import sys
template, version, options, listing, licences, newline = sys.argv[1:]
text = open(template).read()
text = text.replace("@VERSION@", version).replace("@OPTIONS@", open(options).read())
text = text.replace("@LIBRARIES@", open(listing).read() + open(licences).read())
sys.stdout.buffer.write(text.replace("\n", newline).encode("utf-8"))
PY
}
