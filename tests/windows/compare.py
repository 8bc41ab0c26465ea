#!/usr/bin/env python3
"""Compares the music the Windows build played with the music decoded (standard library only).

  compare.py music DECODED RECORDED RATE    16-bit stereo raw: the best-matching offset and the
                                            correlation there

Fails below a correlation of 0.99. Frames are compared by scripts/frames.py.
"""
import array
import math
import sys
from pathlib import Path


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
    if len(argv) == 5 and argv[1] == "music":
        return music(argv[2], argv[3], int(argv[4]))
    print(__doc__, file=sys.stderr)
    return 2


if __name__ == "__main__":
    sys.exit(main(sys.argv))
