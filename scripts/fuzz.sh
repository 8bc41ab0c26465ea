#!/usr/bin/env bash
# Fuzzes one loader with libFuzzer:  scripts/fuzz.sh TARGET [SECONDS [FLAG...]]
#   TARGET   jpeg, png, tga, ebr, bars or ogg
#   SECONDS  how long to run (default 300; 0 runs until Ctrl-C)
#   FLAG     more libFuzzer flags, e.g. -fork=1 -ignore_crashes=1 to go on after a finding
# Builds the target with clang, AddressSanitizer and UBSan in build-fuzz/, seeds its corpus from
# the generated data set and tests/regressions/TARGET/, and runs it with the limits of the
# libjpeg-turbo and libpng fuzzers (inputs up to 1 MiB, 25 s an input, 2.5 GB of memory).
# What it finds lands in build-fuzz/findings/TARGET/; the corpus grows in build-fuzz/corpus/.
set -euo pipefail
# shellcheck source=scripts/lib.sh
. "$(dirname "$0")/lib.sh"
target=${1:-}
seconds=${2:-300}
case "$target" in
  jpeg | png | tga | ebr | bars | ogg) ;;
  *)
    sed -n '2,5p' "$0" | sed 's/^# \{0,1\}//' >&2
    exit 2
    ;;
esac

# The seeds are made with ffmpeg and scripts/make-bars.py.
"$root/scripts/install-deps.sh" play ffmpeg python3 clang
major=$(clang --version | sed -n 's/.*clang version \([0-9]*\).*/\1/p' | head -n 1)
"$root/scripts/install-deps.sh" "libclang-rt-$major-dev"

build=${VEXMORO_FUZZ_BUILD_DIR:-$root/build-fuzz}
CC=clang CXX=clang++ cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DVEXMORO_FUZZ=ON -DVEXMORO_TESTS=OFF >/dev/null
cmake --build "$build" --target "fuzz_$target" -j "$jobs"

# The data set comes from the ordinary build's generator, made there if missing.
if [ ! -f "$native/data/.generated" ]; then
  cmake -S "$root" -B "$native" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
  cmake --build "$native" --target vexmoro_data -j "$jobs"
fi

seeds="$build/seeds/$target"
corpus="$build/corpus/$target"
findings="$build/findings/$target"
mkdir -p "$seeds" "$corpus" "$findings"
data="$native/data"
ff() { ffmpeg -hide_banner -loglevel error -y "$@"; }
case "$target" in
  jpeg) cp "$data"/textures/*.jpg "$seeds/" ;;
  ebr) cp "$data"/objects/*.ebr "$seeds/" ;;
  # Small pictures and short clips in the formats the show's files do not come in.
  png)
    for fmt in rgb24 rgba gray ya8 pal8 rgb48be; do
      ff -i "$data/textures/particle.jpg" -vf scale=32:32 -pix_fmt "$fmt" "$seeds/particle-$fmt.png"
    done
    ;;
  tga)
    for fmt in bgr24 bgra; do
      ff -i "$data/textures/particle.jpg" -vf scale=32:32 -pix_fmt "$fmt" -rle 0 \
        "$seeds/particle-$fmt.tga"
    done
    ;;
  ogg)
    musics=("$data"/music/*.ogg)
    music=${musics[0]}
    ff -ss 60 -t 2 -i "$music" -c:a libvorbis "$seeds/stereo-44k.ogg"
    ff -ss 60 -t 1 -i "$music" -c:a libvorbis -ac 1 -ar 8000 "$seeds/mono-8k.ogg"
    ff -ss 60 -t 1 -i "$music" -c:a libvorbis -ac 6 -ar 48000 "$seeds/six-48k.ogg"
    ;;
  bars)
    python3 "$root/scripts/make-bars.py" "$seeds/short.bars" --name "Short run" --start 205.5 \
      --width 640 --height 480 --no-music --bpm 140 --bar 1,2,3,4,5,6,7,8,9
    python3 "$root/scripts/make-bars.py" "$seeds/empty.bars"
    ;;
esac
find "$root/tests/regressions/$target" -type f ! -name expected.txt -exec cp {} "$seeds/" \;

limit=()
[ "$seconds" -gt 0 ] && limit=(-max_total_time="$seconds")
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1} UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1}
# Leaks that are the libraries' own, as in the test suite.
export LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=$root/tests/lsan.supp}
# The loaders' own refusals go to standard error; -close_fd_mask=2 keeps them off the screen,
# while crash reports still show.
cd "$findings"
exec "$build/tests/fuzz/fuzz_$target" -max_len=1048576 -timeout=25 -rss_limit_mb=2560 \
  -close_fd_mask=2 -print_final_stats=1 -artifact_prefix="$findings/" "${limit[@]}" \
  "${@:3}" "$corpus" "$seeds"
