#!/usr/bin/env python3
"""Compares what the Windows build made with what the Linux build made (standard library only).

  compare.py frames LINUX_DIR WINDOWS_DIR   each frame-*.png of one folder against the other's
  compare.py music DECODED RECORDED RATE    16-bit stereo raw: the best-matching offset and the
                                            correlation there

frames prints one line per frame (identical, or the count of differing pixels and the largest
difference per channel) and fails when a frame has more than 0.1% of its pixels off by more
than one level. music fails below a correlation of 0.99.
"""
import array
import math
import struct
import sys
import zlib
from pathlib import Path

MAX_OFF_SHARE = 0.001


def read_png(path):
    """Width, height and rows of RGB bytes of an 8-bit, non-interlaced RGB or RGBA PNG."""
    data = Path(path).read_bytes()
    if data[:8] != b"\x89PNG\r\n\x1a\n":
        raise ValueError(f"{path}: not a PNG")
    at, idat, header = 8, [], None
    while at < len(data):
        length, kind = struct.unpack(">I4s", data[at:at + 8])
        body = data[at + 8:at + 8 + length]
        if kind == b"IHDR":
            header = struct.unpack(">IIBBBBB", body)
        elif kind == b"IDAT":
            idat.append(body)
        at += 12 + length
    width, height, depth, colour, _, _, interlace = header
    if depth != 8 or colour not in (2, 6) or interlace:
        raise ValueError(f"{path}: only 8-bit RGB(A) without interlace is read")
    channels = 3 if colour == 2 else 4
    raw = zlib.decompress(b"".join(idat))
    return width, height, unfilter(raw, width, height, channels), channels


def unfilter(raw, width, height, bpp):
    stride = width * bpp
    rows, previous, at = [], bytearray(stride), 0
    for _ in range(height):
        kind, line = raw[at], bytearray(raw[at + 1:at + 1 + stride])
        at += 1 + stride
        for i in range(stride):
            left = line[i - bpp] if i >= bpp else 0
            up = previous[i]
            upleft = previous[i - bpp] if i >= bpp else 0
            if kind == 1:
                line[i] = (line[i] + left) & 255
            elif kind == 2:
                line[i] = (line[i] + up) & 255
            elif kind == 3:
                line[i] = (line[i] + (left + up) // 2) & 255
            elif kind == 4:
                p = left + up - upleft
                pa, pb, pc = abs(p - left), abs(p - up), abs(p - upleft)
                pred = left if pa <= pb and pa <= pc else (up if pb <= pc else upleft)
                line[i] = (line[i] + pred) & 255
        rows.append(bytes(line))
        previous = line
    return rows


def compare_frame(a_path, b_path):
    """(differing pixels, pixels off by more than one level, largest difference per channel)."""
    wa, ha, rows_a, ca = read_png(a_path)
    wb, hb, rows_b, cb = read_png(b_path)
    if (wa, ha) != (wb, hb):
        raise ValueError(f"{b_path}: {wb}x{hb}, not {wa}x{ha}")
    differing = off = 0
    largest = [0, 0, 0]
    for row_a, row_b in zip(rows_a, rows_b):
        if row_a == row_b and ca == cb:
            continue
        for x in range(wa):
            pa, pb = row_a[x * ca:x * ca + 3], row_b[x * cb:x * cb + 3]
            if pa == pb:
                continue
            differing += 1
            diffs = [abs(pa[c] - pb[c]) for c in range(3)]
            largest = [max(l, d) for l, d in zip(largest, diffs)]
            if max(diffs) > 1:
                off += 1
    return differing, off, largest, wa * ha


def frames(linux_dir, windows_dir):
    names = sorted(p.name for p in Path(linux_dir).glob("frame-*.png"))
    if not names:
        print(f"no frames in {linux_dir}", file=sys.stderr)
        return 1
    failed = False
    for name in names:
        other = Path(windows_dir) / name
        if not other.exists():
            print(f"{name}: missing from {windows_dir}")
            failed = True
            continue
        if other.read_bytes() == (Path(linux_dir) / name).read_bytes():
            print(f"{name}: byte-identical")
            continue
        differing, off, largest, total = compare_frame(Path(linux_dir) / name, other)
        verdict = "identical pixels" if differing == 0 else (
            f"{differing} pixels differ, largest difference per channel (R, G, B) "
            f"{tuple(largest)}, {off} by more than one level")
        print(f"{name}: {verdict}")
        failed |= off > MAX_OFF_SHARE * total
    return 1 if failed else 0


def mono(path):
    samples = array.array("h")
    samples.frombytes(Path(path).read_bytes())
    if sys.byteorder == "big":
        samples.byteswap()
    return [samples[i] + samples[i + 1] for i in range(0, len(samples) - 1, 2)]


def correlation(a, b):
    n = min(len(a), len(b))
    sa, sb = sum(a[:n]) / n, sum(b[:n]) / n
    num = sum((x - sa) * (y - sb) for x, y in zip(a[:n], b[:n]))
    den = math.sqrt(sum((x - sa) ** 2 for x in a[:n]) * sum((y - sb) ** 2 for y in b[:n]))
    return num / den if den > 0 else 0.0


def decimated(signal, factor):
    return [sum(signal[i:i + factor]) for i in range(0, len(signal) - factor + 1, factor)]


def best_offset(decoded, probe, factor=32):
    """Where `probe` lies in `decoded`: first on sums of `factor` samples, then sample by sample."""
    coarse_probe = decimated(probe, factor)
    coarse = decimated(decoded, factor)
    best = max(range(len(coarse) - len(coarse_probe) + 1),
               key=lambda lag: correlation(coarse[lag:lag + len(coarse_probe)], coarse_probe))
    around = range(max(0, (best - 1) * factor), min(len(decoded) - len(probe), (best + 1) * factor) + 1)
    return max(around, key=lambda lag: correlation(decoded[lag:lag + len(probe)], probe))


def music(decoded_path, recorded_path, rate):
    decoded, recorded = mono(decoded_path), mono(recorded_path)
    start = next((i for i, s in enumerate(recorded) if s != 0), None)
    if start is None:
        print("the recording is silent")
        return 1
    # One second of what was heard, a little after it began, is looked for in the music.
    probe = recorded[start + rate // 4:start + rate // 4 + rate // 2]
    lag = best_offset(decoded, probe) - (start + rate // 4)
    heard = recorded[max(start, -lag):]
    lined_up = decoded[max(start, -lag) + lag:]
    r = correlation(heard, lined_up)
    seconds = min(len(heard), len(lined_up)) / rate
    print(f"music: correlation {r:.4f} over {seconds:.1f} s; the recording begins at "
          f"{lag / rate:.3f} s of the music, {start / rate:.3f} s of silence before it")
    return 0 if r >= 0.99 else 1


def main(argv):
    if len(argv) == 4 and argv[1] == "frames":
        return frames(argv[2], argv[3])
    if len(argv) == 5 and argv[1] == "music":
        return music(argv[2], argv[3], int(argv[4]))
    print(__doc__, file=sys.stderr)
    return 2


if __name__ == "__main__":
    sys.exit(main(sys.argv))
