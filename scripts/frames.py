#!/usr/bin/env python3
"""Frames of the show: captured at the reference moments, and compared with a tolerance that
accepts what differs between renderers and rejects a picture drawn wrong (standard library only).

  frames.py compare [--limit N] [--share PERCENT] EXPECTED ACTUAL
      Each PNG of the folder EXPECTED against the one of the same name in ACTUAL (or one file
      against another). A frame twice as wide and high as its counterpart is first reduced by 2x2
      box averages, so that reduced references meet full-size captures. Prints per frame the
      largest difference in a channel, the share of pixels with a channel more than N levels off,
      and the PSNR; fails when a frame has more than PERCENT % of its pixels past N, or is missing.
  frames.py capture [--only NAME,...] [--runner RUNNER] PROGRAM ROOT FOLDER
      Captures the reference moments with PROGRAM and the data folder under ROOT into FOLDER,
      one NAME.png each at full size; RUNNER starts PROGRAM (Wine for the Windows build).
  frames.py check [--only NAME,...] PROGRAM ROOT
      Captures the moments and compares them with the references.
  frames.py remake PROGRAM ROOT
      Captures the moments on Mesa's software renderer and writes them, reduced, as the
      references.

Exit status: 0 when every frame is within the tolerance, 1 when one is not (or is missing), 2
when used wrongly, 3 when a capture failed.
"""
import argparse
import math
import os
import shutil
import struct
import subprocess
import sys
import tempfile
import zlib
from concurrent.futures import ThreadPoolExecutor
from itertools import accumulate
from operator import add, sub
from pathlib import Path

REFERENCES = Path(__file__).resolve().parent.parent / "tests" / "data" / "reference-frames"

# Chosen from measurement at these moments: softpipe, against llvmpipe, has at most 0.006% of a
# frame's pixels more than 32 levels off (and 3.3% more than 16), where the tunnel drawn without
# its fog has 0.7% or more, a frame shifted by one pixel 0.3% or more, and one drawn with a
# picture missing 13% or more. Faults fainter than 32 levels pass unseen.
DEFAULT_LIMIT = 32
DEFAULT_SHARE = 0.1

# Every capture starts at its scene's start, so that the scene's local time counts as in the show;
# 2 frames a second keep the runs up to the later moments short. The credits' pictures and the
# tunnel's bars follow the music's spectrum (an all-zero one leaves the credits black); the rest
# is captured silent, free of the music.
FPS = 2
MUSIC, SILENT = True, False
MOMENTS = [
    # name, scene start, show time, with the music's spectrum
    ("credits-logo", 0, 9.5, MUSIC),
    ("credits-party", 0, 19, MUSIC),
    ("credits-title", 0, 32, MUSIC),
    ("credits-names", 0, 45.5, MUSIC),
    ("greetings-orbit", 50.6, 60.1, SILENT),
    ("greetings-standing", 50.6, 85.1, SILENT),
    ("spike", 101.1, 110.1, SILENT),
    ("spike-under-tunnel", 101.1, 126.6, SILENT),
    ("tunnel-fog", 126.4, 135.4, SILENT),
    ("tunnel-text", 126.4, 144.4, SILENT),
    ("tunnel-bars", 126.4, 152.4, MUSIC),
    ("end-squares", 177, 185, SILENT),
    ("end-veil", 177, 200, SILENT),
    ("end-closing", 177, 203.5, SILENT),
]

CAPTURE_FAILED = 3

MASK = (255).__and__
QUARTER = tuple((total + 2) // 4 for total in range(4 * 255 + 1))
SQUARE = tuple(d * d for d in range(256))


class Image:
    """8-bit RGB pixels, row after row from the top."""

    def __init__(self, width, height, rgb):
        self.width, self.height, self.rgb = width, height, rgb


def read_png(path):
    """An 8-bit, non-interlaced RGB or RGBA PNG as an Image (alpha dropped)."""
    data = Path(path).read_bytes()
    if data[:8] != b"\x89PNG\r\n\x1a\n":
        raise ValueError(f"{path}: not a PNG")
    at, idat, header = 8, [], None
    while at + 8 <= len(data):
        length, kind = struct.unpack(">I4s", data[at:at + 8])
        body = data[at + 8:at + 8 + length]
        if kind == b"IHDR":
            header = struct.unpack(">IIBBBBB", body)
        elif kind == b"IDAT":
            idat.append(body)
        at += 12 + length
    if header is None:
        raise ValueError(f"{path}: no header")
    width, height, depth, colour, _, _, interlace = header
    if depth != 8 or colour not in (2, 6) or interlace:
        raise ValueError(f"{path}: only 8-bit RGB(A) without interlace is read")
    channels = 3 if colour == 2 else 4
    raw = zlib.decompress(b"".join(idat))
    if len(raw) != height * (1 + width * channels):
        raise ValueError(f"{path}: {len(raw)} bytes of pixels, not {height} rows of {width}")
    rgb = bytearray()
    previous = bytes(width * channels)
    for y in range(height):
        start = y * (1 + width * channels)
        previous = unfilter(raw[start], raw[start + 1:start + 1 + width * channels], previous,
                            channels)
        if channels == 4:
            row = bytearray(width * 3)
            for c in range(3):
                row[c::3] = previous[c::4]
            rgb += row
        else:
            rgb += previous
    return Image(width, height, bytes(rgb))


def unfilter(kind, line, previous, bpp):
    """One row undone from its filter; None, Sub and Up (what captures use) run in C loops."""
    if kind == 0:
        return line
    if kind == 1:
        row = bytearray(line)
        for c in range(bpp):
            row[c::bpp] = bytes(map(MASK, accumulate(line[c::bpp])))
        return bytes(row)
    if kind == 2:
        return bytes(map(MASK, map(add, line, previous)))
    if kind not in (3, 4):
        raise ValueError(f"unknown PNG filter {kind}")
    row = bytearray(line)
    for i in range(len(row)):
        left = row[i - bpp] if i >= bpp else 0
        up = previous[i]
        if kind == 3:
            row[i] = (row[i] + (left + up) // 2) & 255
            continue
        upleft = previous[i - bpp] if i >= bpp else 0
        p = left + up - upleft
        pa, pb, pc = abs(p - left), abs(p - up), abs(p - upleft)
        row[i] = (row[i] + (left if pa <= pb and pa <= pc else up if pb <= pc else upleft)) & 255
    return bytes(row)


def write_png(path, image):
    """RGB, each row Sub- or Up-filtered, whichever leaves the smaller sum of magnitudes."""
    stride = image.width * 3
    above = bytes(stride)
    filtered = bytearray()
    for y in range(image.height):
        row = image.rgb[y * stride:(y + 1) * stride]
        sub_row = bytes(map(MASK, map(sub, row, bytes(3) + row[:-3])))
        up_row = bytes(map(MASK, map(sub, row, above)))
        best = min((1, sub_row), (2, up_row), key=lambda f: sum(min(b, 256 - b) for b in f[1]))
        filtered += bytes([best[0]]) + best[1]
        above = row

    def chunk(kind, body):
        return (struct.pack(">I", len(body)) + kind + body +
                struct.pack(">I", zlib.crc32(kind + body)))

    header = struct.pack(">IIBBBBB", image.width, image.height, 8, 2, 0, 0, 0)
    Path(path).write_bytes(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) +
                           chunk(b"IDAT", zlib.compress(bytes(filtered), 9)) + chunk(b"IEND", b""))


def reduced(image):
    """Half the width and height, each pixel the rounded mean of a 2x2 block."""
    stride, out = image.width * 3, bytearray()
    half = image.width // 2
    for y in range(0, image.height - 1, 2):
        pairs = list(map(add, image.rgb[y * stride:(y + 1) * stride],
                         image.rgb[(y + 1) * stride:(y + 2) * stride]))
        row = bytearray(half * 3)
        for c in range(3):
            left, right = pairs[c:half * 6:6], pairs[c + 3:half * 6:6]
            row[c::3] = bytes(map(QUARTER.__getitem__, map(add, left, right)))
        out += row
    return Image(half, image.height // 2, bytes(out))


class Difference:
    """How far one frame is from another: largest channel difference, pixels past the limit."""

    def __init__(self, expected, actual, limit):
        diffs = bytes(map(abs, map(sub, expected.rgb, actual.rgb)))
        pixels = expected.width * expected.height
        worst = bytes(map(max, diffs[0::3], diffs[1::3], diffs[2::3]))
        past = bytes(1 if d > limit else 0 for d in range(256))
        self.largest = max(diffs, default=0)
        self.share = 100.0 * worst.translate(past).count(1) / pixels
        mse = sum(map(SQUARE.__getitem__, diffs)) / len(diffs)
        self.psnr = math.inf if mse == 0 else 10 * math.log10(255 * 255 / mse)


def matched(expected, actual):
    """The two frames at one size: the one twice the other's is reduced."""
    sizes = (expected.width, expected.height), (actual.width, actual.height)
    if sizes[0] == sizes[1]:
        return expected, actual
    if sizes[1] == (2 * sizes[0][0], 2 * sizes[0][1]):
        return expected, reduced(actual)
    if sizes[0] == (2 * sizes[1][0], 2 * sizes[1][1]):
        return reduced(expected), actual
    raise ValueError("sizes %dx%d and %dx%d do not match" % (sizes[0] + sizes[1]))


def compare_frame(expected_path, actual_path, limit, share):
    """A line saying how far the frame is, and whether it is within the tolerance."""
    if not actual_path.exists():
        return f"{expected_path.name}: missing from {actual_path.parent}", False
    try:
        expected, actual = matched(read_png(expected_path), read_png(actual_path))
    except (ValueError, OSError, zlib.error) as error:
        return f"{expected_path.name}: {error}", False
    d = Difference(expected, actual, limit)
    ok = d.share <= share
    psnr = "identical" if math.isinf(d.psnr) else f"PSNR {d.psnr:.1f} dB"
    return (f"{expected_path.name}: largest difference {d.largest}, {d.share:.3f}% of pixels "
            f"past {limit}, {psnr}{'' if ok else '  PAST TOLERANCE'}"), ok


def compare(expected, actual, limit=DEFAULT_LIMIT, share=DEFAULT_SHARE, names=None):
    """Compares folders (every frame of EXPECTED, or those named) or two files; prints a line per
    frame. True when all pass."""
    expected, actual = Path(expected), Path(actual)
    if not expected.is_dir():
        pairs = [(expected, actual)]
    elif names:
        pairs = [(expected / f"{name}.png", actual / f"{name}.png") for name in names]
    else:
        pairs = [(p, actual / p.name) for p in sorted(expected.glob("*.png"))]
    if not pairs:
        print(f"no frames in {expected}")
        return False
    passed = 0
    for expected_path, actual_path in pairs:
        line, ok = compare_frame(expected_path, actual_path, limit, share)
        print(line, flush=True)
        passed += ok
    print(f"{passed} of {len(pairs)} frames within {share}% of pixels past {limit} levels")
    return passed == len(pairs)


def capture_moment(program, root, folder, moment, runner):
    """Runs PROGRAM up to one moment; the frame as FOLDER/NAME.png, or a line saying why not."""
    name, start, at, music = moment
    work = Path(tempfile.mkdtemp(prefix=f"{name}-", dir=folder))
    command = ([runner] if runner else []) + [str(program), "--root", str(root), "--capture", str(work / "frames"),
               "--fps", str(FPS), "--start", str(start), "--from", str(at), "--to", str(at)]
    if not music:
        command.append("--silent")
    run = subprocess.run(command, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, text=True)
    frames = sorted((work / "frames").glob("frame-*.png"))
    if run.returncode != 0 or len(frames) != 1:
        shutil.rmtree(work)
        return (f"{name}: {' '.join(command)} exited with {run.returncode} and wrote "
                f"{len(frames)} frames\n{run.stderr}")
    frames[0].replace(Path(folder) / f"{name}.png")
    shutil.rmtree(work)
    return None


def capture(program, root, folder, only=None, runner=None):
    """Every moment (or those named) into FOLDER; True when each gave its frame."""
    Path(folder).mkdir(parents=True, exist_ok=True)
    moments = [m for m in MOMENTS if not only or m[0] in only]
    # Without a display the frames are drawn offscreen.
    os.environ.setdefault("SDL_VIDEODRIVER", "offscreen")
    with ThreadPoolExecutor(max_workers=os.cpu_count() or 1) as pool:
        failures = [f for f in pool.map(lambda m: capture_moment(program, root, folder, m, runner),
                                        moments) if f]
    for failure in failures:
        print(failure, file=sys.stderr)
    return not failures


def check(program, root, only, limit, share):
    """The exit status: the captures' failure, or the comparison's verdict."""
    with tempfile.TemporaryDirectory(prefix="vexmoro-frames-") as folder:
        if not capture(program, root, folder, only):
            return CAPTURE_FAILED
        names = only or [name for name, *_ in MOMENTS]
        return 0 if compare(REFERENCES, folder, limit, share, names) else 1


def remake(program, root):
    """The references on the software renderer they are recorded on, at half size."""
    os.environ["LIBGL_ALWAYS_SOFTWARE"] = "1"
    with tempfile.TemporaryDirectory(prefix="vexmoro-frames-") as folder:
        if not capture(program, root, folder):
            return CAPTURE_FAILED
        REFERENCES.mkdir(parents=True, exist_ok=True)
        for old in REFERENCES.glob("*.png"):
            old.unlink()
        for name, *_ in MOMENTS:
            write_png(REFERENCES / f"{name}.png", reduced(read_png(Path(folder) / f"{name}.png")))
            print(f"wrote {REFERENCES / name}.png")
    return 0


def level(text):
    if not text.isdigit() or int(text) > 255:
        raise argparse.ArgumentTypeError(f"{text} is not a level from 0 to 255")
    return int(text)


def moment_names(text):
    names = text.split(",")
    unknown = set(names) - {name for name, *_ in MOMENTS}
    if unknown:
        raise argparse.ArgumentTypeError(f"no such moments: {', '.join(sorted(unknown))}")
    return names


def parse(argv):
    parser = argparse.ArgumentParser(description=__doc__,
                                     formatter_class=argparse.RawDescriptionHelpFormatter)
    commands = parser.add_subparsers(dest="command", required=True)
    tolerance = argparse.ArgumentParser(add_help=False)
    tolerance.add_argument("--limit", type=level, default=DEFAULT_LIMIT, metavar="N",
                           help=f"levels a channel may differ (default {DEFAULT_LIMIT})")
    tolerance.add_argument("--share", type=float, default=DEFAULT_SHARE, metavar="PERCENT",
                           help=f"%% of pixels allowed past the limit (default {DEFAULT_SHARE})")
    only = argparse.ArgumentParser(add_help=False)
    only.add_argument("--only", type=moment_names, metavar="NAME,...",
                      help="these moments only")
    compare_command = commands.add_parser("compare", parents=[tolerance])
    compare_command.add_argument("expected")
    compare_command.add_argument("actual")
    for name, parents in (("capture", [only]), ("check", [only, tolerance]), ("remake", [])):
        command = commands.add_parser(name, parents=parents)
        command.add_argument("program")
        command.add_argument("root")
        if name == "capture":
            command.add_argument("--runner", help="a program that starts PROGRAM (wine)")
            command.add_argument("folder")
    return parser.parse_args(argv)


def main(argv):
    args = parse(argv)
    if args.command == "compare":
        return 0 if compare(args.expected, args.actual, args.limit, args.share) else 1
    if args.command == "capture":
        return (0 if capture(args.program, args.root, args.folder, args.only, args.runner) else
                CAPTURE_FAILED)
    if args.command == "check":
        return check(args.program, args.root, args.only, args.limit, args.share)
    return remake(args.program, args.root)


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
