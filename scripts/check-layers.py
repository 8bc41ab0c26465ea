#!/usr/bin/env python3
"""Prints the graph of the folders under src/ as their #include lines draw it, and fails when an
include runs upward (to a folder not listed beneath its own in src/layers.txt), when a folder is
not listed, or when the graph has a cycle.

    check-layers.py [SRC]      SRC defaults to the src/ folder beside this script's folder
"""
import re
import sys
from pathlib import Path

INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"/]+)/[^"]+"', re.MULTILINE)


def read_layers(src):
    lines = (src / "layers.txt").read_text().splitlines()
    return [line.strip() for line in lines if line.strip() and not line.startswith("#")]


def include_graph(src):
    """{(from, to): [file, ...]} for every include that crosses folders."""
    edges = {}
    for path in sorted(src.rglob("*")):
        if path.suffix not in (".h", ".cpp") or not path.is_file():
            continue
        folder = path.relative_to(src).parts[0]
        for target in INCLUDE.findall(path.read_text(errors="replace")):
            if target != folder:
                files = edges.setdefault((folder, target), [])
                if str(path.relative_to(src)) not in files:
                    files.append(str(path.relative_to(src)))
    return edges


def find_cycle(folders, edges):
    """A list of folders that closes on itself, or None."""
    successors = {f: sorted(t for (s, t) in edges if s == f) for f in folders}
    state = {}

    def visit(folder, trail):
        state[folder] = "open"
        for nxt in successors.get(folder, []):
            if state.get(nxt) == "open":
                return trail[trail.index(nxt):] + [nxt]
            if nxt not in state:
                found = visit(nxt, trail + [nxt])
                if found:
                    return found
        state[folder] = "done"
        return None

    for folder in folders:
        if folder not in state:
            found = visit(folder, [folder])
            if found:
                return found
    return None


def main():
    src = Path(sys.argv[1]) if len(sys.argv) > 1 else Path(__file__).resolve().parent.parent / "src"
    layers = read_layers(src)
    rank = {name: i for i, name in enumerate(layers)}
    folders = sorted(p.name for p in src.iterdir() if p.is_dir())
    edges = include_graph(src)
    problems = [f"src/{f} is not listed in src/layers.txt" for f in folders if f not in rank]

    print("Folders of src/ from the top down, and the folders each one includes:")
    for folder in sorted(folders, key=lambda f: -rank.get(f, len(layers))):
        uses = sorted((t for (s, t) in edges if s == folder), key=lambda t: -rank.get(t, -1))
        print(f"  {folder:9} -> {', '.join(uses) if uses else '(nothing)'}")

    for (source, target), files in sorted(edges.items()):
        if target not in rank:
            problems.append(f"src/{source} includes {target}/, which is no folder of src/ "
                            f"({files[0]})")
        elif source in rank and rank[target] >= rank[source]:
            problems.append(f"src/{source} includes src/{target}, which is not beneath it "
                            f"({', '.join(files)})")
    cycle = find_cycle(folders, edges)
    if cycle:
        problems.append("the includes go round in a cycle: " + " -> ".join(cycle))

    for problem in problems:
        print("check-layers: " + problem, file=sys.stderr)
    if problems:
        return 1
    print(f"check-layers: {len(edges)} edges, all downward, no cycle")
    return 0


if __name__ == "__main__":
    sys.exit(main())
