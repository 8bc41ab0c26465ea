#!/usr/bin/env bash
# Captures one frame of each listed moment of the show with the real data set and lays them out
# as docs/gallery.png (four to a row, 320 by 240 each), for the README.
set -euo pipefail
# shellcheck source=scripts/lib.sh
. "$(dirname "$0")/lib.sh"
"$root/scripts/install-deps.sh" ffmpeg
"$root/scripts/build.sh" >/dev/null

# label, where the run starts (a scene's start, so that its local time counts from there), show
# time of the frame. 30 frames per second, as a viewer's machine might draw them.
shots=(
  "credits 0 20"
  "credits 0 45"
  "greetings 50.6 70"
  "greetings 50.6 85"
  "spike 101.1 110"
  "tunnel 126.4 135"
  "tunnel 126.4 160"
  "end 177 190"
  "end 177 205"
)

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
n=0
for shot in "${shots[@]}"; do
  read -r label start at <<<"$shot"
  # The program's own words say why a capture failed; they are shown before the folder goes.
  if ! "$native/vexmoro" --capture "$work/$n" --fps 30 --start "$start" --from "$at" --to "$at" \
    >/dev/null 2>"$work/log"; then
    cat "$work/log" >&2
    fail "the capture of $label at $at s"
  fi
  frames=("$work/$n"/frame-*.png)
  [ -f "${frames[0]}" ] || fail "the capture of $label at $at s wrote no frame: $(cat "$work/log")"
  cp "${frames[0]}" "$work/shot-$(printf %02d "$n").png"
  echo "$label at $at s: ${frames[0]}" >&2
  n=$((n + 1))
done
rows=$(((n + 3) / 4))
ffmpeg -loglevel error -y -i "$work/shot-%02d.png" \
  -vf "scale=320:240:flags=area,tile=4x$rows:padding=4:color=white" -frames:v 1 \
  "$root/docs/gallery.png"
echo "wrote $root/docs/gallery.png" >&2
