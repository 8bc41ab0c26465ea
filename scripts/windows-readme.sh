#!/usr/bin/env bash
# Writes the Windows zip's README.txt (CRLF lines) on standard output:
#   windows-readme.sh VERSION PREFIX NATIVE_PROGRAM LINK_FOLDER
# PREFIX holds the cross-built libraries (versions.txt, licenses/); the options are those the
# native program lists, the same source as the Windows one. Only the libraries that the
# program's link command (in LINK_FOLDER, CMake's folder of the target) names are listed.
set -euo pipefail
# shellcheck source=scripts/lib.sh
. "$(dirname "$0")/lib.sh"
# shellcheck source=scripts/sourcedeps.sh
. "$root/scripts/sourcedeps.sh"
version=$1 prefix=$2 native=$3 link_folder=$4

deps_linked_libraries "$link_folder"

listing() {
  deps_listing "$prefix"
  echo "- The GCC runtime (libstdc++, libgcc) and the MinGW-w64 runtime (winpthreads), from"
  echo "  Debian's gcc-mingw-w64 and mingw-w64 packages"
}

licences() {
  deps_licences "$prefix"
  printf '\n\n=== The GCC runtime (libstdc++, libgcc) ===\n\n'
  cat /usr/share/doc/gcc-mingw-w64-base/copyright
  printf '\n\n=== The MinGW-w64 runtime (winpthreads and the C runtime start-up) ===\n\n'
  cat /usr/share/doc/mingw-w64-common/copyright
}

options=$("$native" --help | sed -e '/^Usage:/d' -e 's/^/    /' -e 's/^ *$//')
deps_readme "$root/packaging/windows/README.txt" "$version" <(echo "$options") <(listing) \
  <(licences) $'\r\n'
