#!/usr/bin/env bash
# Builds dist/vexmoro_VERSION_ARCH.deb and prints its path (build output goes to standard error).
# The program is built in build-deb/ with Debian's compiler flags and full hardening, installed
# under /usr into a staging tree, and laid out as Debian policy asks: the program stripped, the
# manual page and changelog compressed, the licence in Debian's copyright format, and Depends
# computed by dpkg-shlibdeps from the libraries the program links. Needs no root.
set -euo pipefail
# shellcheck source=scripts/lib.sh
. "$(dirname "$0")/lib.sh"
# dpkg-buildflags maps the current folder out of the program's debugging paths: the sources'.
cd "$root"
"$root/scripts/install-deps.sh" package
build=$deb_work

# Given on the command line, not through the environment, so that they reach a build folder
# configured before; CPPFLAGS (the fortified C library functions) go with the compiler flags.
eval "$(DEB_BUILD_MAINT_OPTIONS=hardening=+all dpkg-buildflags --export=sh)"
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_INSTALL_PREFIX=/usr \
  -DVEXMORO_TESTS=OFF -DCMAKE_C_FLAGS="$CFLAGS $CPPFLAGS" -DCMAKE_CXX_FLAGS="$CXXFLAGS $CPPFLAGS" \
  -DCMAKE_EXE_LINKER_FLAGS="$LDFLAGS" >&2
cmake --build "$build" -j "$jobs" >&2

debian=$build/packaging/debian
version=$(dpkg-parsechangelog -l "$debian/changelog" -S Version)
arch=$(dpkg --print-architecture)
# File times in the package are those of the release, so that the same sources give the same .deb.
SOURCE_DATE_EPOCH=$(dpkg-parsechangelog -l "$debian/changelog" -S Timestamp)
export SOURCE_DATE_EPOCH

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
stage=$work/stage
DESTDIR=$stage cmake --install "$build" >/dev/null
doc=$stage/usr/share/doc/vexmoro
program=$stage/usr/games/vexmoro
# The licence is in the copyright file already.
rm "$doc/LICENSE"
cp "$debian/copyright" "$doc/copyright"
gzip -9n <"$debian/changelog" >"$doc/changelog.gz"
gzip -9n "$stage/usr/share/man/man6/vexmoro.6"
strip --remove-section=.comment --remove-section=.note "$program"
chmod -R u=rwX,go=rX "$stage"
chmod 755 "$program"

mkdir "$stage/DEBIAN"
(cd "$build/packaging" &&
  dpkg-shlibdeps -T"$work/substvars" -e"$program" &&
  dpkg-gencontrol -pvexmoro -P"$stage" -T"$work/substvars" -f"$work/files")
(cd "$stage" && find usr -type f -print0 | LC_ALL=C sort -z | xargs -0 md5sum) \
  >"$stage/DEBIAN/md5sums"
chmod 644 "$stage/DEBIAN/control" "$stage/DEBIAN/md5sums"

mkdir -p "$root/dist"
deb=$root/dist/vexmoro_${version}_${arch}.deb
dpkg-deb --root-owner-group -Zxz --build "$stage" "$deb" >&2
echo "$deb"
