#!/usr/bin/env python3
"""Writes a vexmoro bar file (see README.md, "Bar files"). Standard library only."""
import argparse
import struct


def number(text):
    """A 4-byte field: integers as 32-bit integers, anything with a point as a 32-bit float."""
    if any(c in text for c in ".eE") and not text.lower().startswith("0x"):
        return struct.pack("<f", float(text))
    value = int(text, 0)
    return struct.pack("<i" if value < 0 else "<I", value)


def text_field(value):
    data = value.encode("latin-1")
    return struct.pack("<I", len(data)) + data


def bar_record(text):
    fields = text.split(",")
    if len(fields) != 9:
        raise argparse.ArgumentTypeError("a bar needs nine comma-separated fields")
    return b"".join(number(f.strip()) for f in fields)


def main():
    p = argparse.ArgumentParser(description=__doc__)
    p.add_argument("output")
    p.add_argument("--name", default="", help="demo name")
    p.add_argument("--start", type=float, default=0.0, help="start offset in seconds")
    p.add_argument("--width", type=int, default=800)
    p.add_argument("--height", type=int, default=600)
    p.add_argument("--fullscreen", action="store_true", help="full screen (default: windowed)")
    p.add_argument("--no-music", action="store_true")
    p.add_argument("--bpm", default="0", help="tempo; 140 is stored as an integer, 140.0 as a float")
    p.add_argument("--music", default="data/music/Tarvok-Sunderline_(demo_edit).ogg")
    p.add_argument("--bar", action="append", default=[], type=bar_record,
                   help="one record: nine comma-separated numbers (sp,sta,sb,sti,lp,lta,lb,lti,ei)")
    a = p.parse_args()
    data = (text_field(a.name) + struct.pack("<f", a.start) + struct.pack("<ii", a.width, a.height)
            + struct.pack("<II", int(a.fullscreen), int(not a.no_music)) + number(a.bpm)
            + text_field(a.music) + struct.pack("<I", len(a.bar)) + b"".join(a.bar))
    with open(a.output, "wb") as out:
        out.write(data)


if __name__ == "__main__":
    main()
