#!/usr/bin/env python3
"""Plays the whole show with one data file damaged, for every file and every kind of damage.

Each run copies the generated data set, damages one file (missing, empty, cut to half, garbage of
the same size, a folder in its place) and runs `vexmoro --benchmark --fps 5` on the copy
(offscreen, no sound card). A run passes when it exits 0, draws as many frames as the undamaged
show, prints exactly one message about the file each time the show loads it and no other, and
stays under 500 MB of memory. Prints the matrix; exits 1 when any run failed.
"""
import argparse
import json
import os
import random
import shutil
import subprocess
import sys
import tempfile

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
DAMAGES = ["missing", "empty", "half", "garbage", "folder"]
# Files that the show loads more than once: two scenes load each picture, and a slime brush
# loads its mesh twice.
LOADS = {"gutt.jpg": 2, "sv.jpg": 2, "spikeslime.ebr": 2, "chamferbox.ebr": 2}
MEMORY_LIMIT_KIB = 500 * 1024
SUMMARY = "vexmoro: drew "


def data_files(data):
    files = []
    for folder in ("textures", "objects", "music"):
        for name in sorted(os.listdir(os.path.join(data, folder))):
            files.append(os.path.join(folder, name))
    return files


def damage(path, how):
    size = os.path.getsize(path)
    if how == "missing":
        os.remove(path)
    elif how == "empty":
        open(path, "wb").close()
    elif how == "half":
        os.truncate(path, size // 2)
    elif how == "garbage":
        with open(path, "wb") as out:
            out.write(random.Random(path).randbytes(size))
    elif how == "folder":
        os.remove(path)
        os.mkdir(path)


def run_show(program, root):
    env = dict(os.environ, SDL_VIDEODRIVER="offscreen", SDL_AUDIODRIVER="dummy")
    cmd = ["nice", "-n", "10", program, "--benchmark", "--fps", "5", "--root", root]
    try:
        done = subprocess.run(cmd, env=env, capture_output=True, text=True, timeout=900)
    except subprocess.TimeoutExpired:
        return None, [], {}
    lines = done.stdout.strip().splitlines()
    try:
        figures = json.loads(lines[-1]) if lines else {}
    except json.JSONDecodeError:
        figures = {}
    messages = [m for m in done.stderr.splitlines() if m and not m.startswith(SUMMARY)]
    return done.returncode, messages, figures


def judge(relative, code, messages, figures, frames):
    """The reasons a run failed; empty when it passed."""
    if code is None:
        return ["did not end within 15 minutes"]
    name = os.path.basename(relative)
    about = [m for m in messages if relative in m]
    others = [m for m in messages if m not in about]
    wanted = LOADS.get(name, 1)
    problems = []
    if code != 0:
        problems.append("exit status %d" % code)
    drawn = figures.get("show", {}).get("frames")
    if drawn != frames:
        problems.append("drew %s frames, not %d" % (drawn, frames))
    if len(about) != wanted:
        problems.append("%d messages about it, not %d" % (len(about), wanted))
    if others:
        problems.append("other messages: %s" % others)
    peak = figures.get("peak_rss_kib", 0)
    if peak >= MEMORY_LIMIT_KIB:
        problems.append("peak memory %d KiB" % peak)
    return problems


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--build", default=os.path.join(ROOT, "build"),
                        help="build folder with the program and its data set")
    parser.add_argument("--only", action="append", metavar="NAME/DAMAGE",
                        help="run only this case, e.g. gutt.jpg/half (may be repeated)")
    args = parser.parse_args()
    program = os.path.join(args.build, "vexmoro")
    data = os.path.join(args.build, "data")
    files = data_files(data)
    cases = [(f, d) for f in files for d in DAMAGES]
    if args.only:
        wanted = set(args.only)
        cases = [(f, d) for f, d in cases if "%s/%s" % (os.path.basename(f), d) in wanted]
        if not cases:
            sys.exit("no such case: %s" % ", ".join(args.only))

    with tempfile.TemporaryDirectory(prefix="vexmoro-damaged-") as scratch:
        copy = os.path.join(scratch, "show")
        shutil.copytree(data, os.path.join(copy, "data"), ignore=shutil.ignore_patterns(".*"))
        code, messages, figures = run_show(program, copy)
        frames = figures.get("show", {}).get("frames")
        if code != 0 or messages or not frames:
            sys.exit("the undamaged show fails: exit %s, messages %s" % (code, messages))
        print("undamaged: %d frames, peak %d KiB" % (frames, figures["peak_rss_kib"]), flush=True)

        results = {}
        for relative, how in cases:
            shutil.rmtree(copy)
            shutil.copytree(data, os.path.join(copy, "data"), ignore=shutil.ignore_patterns(".*"))
            damage(os.path.join(copy, "data", relative), how)
            code, messages, figures = run_show(program, copy)
            problems = judge(os.path.join("data", relative), code, messages, figures, frames)
            results[(relative, how)] = problems
            peak = figures.get("peak_rss_kib", 0)
            verdict = "pass" if not problems else "FAIL: " + "; ".join(problems)
            print("%-42s %-8s %6d KiB  %s" % (relative, how, peak, verdict), flush=True)

    print_matrix(files, results)
    sys.exit(1 if any(results.values()) else 0)


def print_matrix(files, results):
    print("\n%-42s" % "file" + "".join("%-9s" % d for d in DAMAGES))
    for relative in files:
        row = [results.get((relative, d)) for d in DAMAGES]
        if all(r is None for r in row):
            continue
        cells = ["-" if r is None else ("pass" if not r else "FAIL") for r in row]
        print("%-42s" % relative + "".join("%-9s" % c for c in cells))
    failed = sum(1 for r in results.values() if r)
    print("\n%d runs, %d failed" % (len(results), failed))


if __name__ == "__main__":
    main()
