#!/usr/bin/env python3
"""Writes the first inputs of one fuzz target into a folder, made from the
project's own files: the shipped book, the bench positions, the FENs the
unit tests use, and the small hand-written inputs under tests/fuzz/corpus.

    firstinputs.py <source folder> <book|style|fen|uci> <output folder>
"""
import pathlib
import re
import sys

FEN = re.compile(r'"((?:[1-8pnbrqkPNBRQK]{1,8}/){7}[1-8pnbrqkPNBRQK]{1,8}(?: [^"]*)?)"')


def bench_fens(source):
    text = (source / "data" / "bench.fen").read_text()
    return [line.strip() for line in text.splitlines() if line.strip() and not line.startswith("#")]


def test_fens(source):
    found = []
    for path in sorted((source / "tests").rglob("*.cpp")):
        found += FEN.findall(path.read_text(errors="replace"))
    return sorted(set(found))


def first_inputs(source, target):
    if target == "book":
        lines = (source / "data" / "librito.txt").read_text().splitlines(keepends=True)
        for i in range(0, len(lines), 20):
            yield "".join(lines[i:i + 20])
    elif target == "fen":
        yield from bench_fens(source)
        yield from test_fens(source)
    elif target == "uci":
        for fen in bench_fens(source):
            yield f"position fen {fen}\ngo depth 1\n"
    hand_written = source / "tests" / "fuzz" / "corpus" / target
    for path in sorted(hand_written.glob("*")):
        yield path.read_text()


def main():
    source, target, out = pathlib.Path(sys.argv[1]), sys.argv[2], pathlib.Path(sys.argv[3])
    out.mkdir(parents=True, exist_ok=True)
    count = 0
    for count, text in enumerate(first_inputs(source, target), 1):
        (out / f"input-{count:04d}").write_text(text)
    if count == 0:
        sys.exit(f"firstinputs.py: no inputs for {target}")


if __name__ == "__main__":
    main()
