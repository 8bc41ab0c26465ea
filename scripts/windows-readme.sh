#!/usr/bin/env bash
# Writes the Windows zip's README.txt (CRLF lines) on standard output:
#   windows-readme.sh VERSION PREFIX NATIVE_PROGRAM LINK_FOLDER
# PREFIX holds the cross-built libraries (versions.txt, licenses/); the options are those the
# native program lists, the same source as the Windows one. Only the libraries that the
# program's link command (in LINK_FOLDER, CMake's folder of the target) names are listed.
set -euo pipefail
# shellcheck source=scripts/lib.sh
. "$(dirname "$0")/lib.sh"
version=$1 prefix=$2 native=$3 link_folder=$4

# Source package, its archive's name in the link command, what the show uses it for.
all_libraries=(
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
for entry in "${all_libraries[@]}"; do
  archive=$(echo "$entry" | cut -d'|' -f2)
  if cat "$link_folder"/link.txt "$link_folder"/*.rsp 2>/dev/null |
    grep -Eq "(/lib${archive}[0-9]*\\.a|-l$archive)(\"| |\$)"; then
    libraries+=("$(echo "$entry" | cut -d'|' -f1,3)")
  fi
done

listing() {
  local entry name what version_line
  for entry in "${libraries[@]}"; do
    name=${entry%%|*} what=${entry#*|}
    version_line=$(grep "^$name " "$prefix/versions.txt" | cut -d' ' -f2-)
    [ -n "$version_line" ] && printf -- '- %s (Debian source %s %s)\n' "$what" "$name" "$version_line"
  done
  echo "- The GCC runtime (libstdc++, libgcc) and the MinGW-w64 runtime (winpthreads), from"
  echo "  Debian's gcc-mingw-w64 and mingw-w64 packages"
}

licences() {
  local entry name
  for entry in "${libraries[@]}"; do
    name=${entry%%|*}
    [ -f "$prefix/licenses/$name.txt" ] || continue
    printf '\n\n=== %s ===\n\n' "${entry#*|}"
    cat "$prefix/licenses/$name.txt"
  done
  printf '\n\n=== The GCC runtime (libstdc++, libgcc) ===\n\n'
  cat /usr/share/doc/gcc-mingw-w64-base/copyright
  printf '\n\n=== The MinGW-w64 runtime (winpthreads and the C runtime start-up) ===\n\n'
  cat /usr/share/doc/mingw-w64-common/copyright
}

options=$("$native" --help | sed -e '/^Usage:/d' -e 's/^/    /' -e 's/^ *$//')
python3 - "$root/packaging/windows/README.txt" "$version" <(echo "$options") <(listing) \
  <(licences) <<'PY'
import sys
template, version, options, listing, licences = sys.argv[1:]
text = open(template).read()
text = text.replace("@VERSION@", version).replace("@OPTIONS@", open(options).read())
text = text.replace("@LIBRARIES@", open(listing).read() + open(licences).read())
sys.stdout.buffer.write(text.replace("\n", "\r\n").encode("utf-8"))
PY
