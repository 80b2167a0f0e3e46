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


def first_inputs(source, target):
    bench = [line.strip() for line in (source / "data" / "bench.fen").read_text().splitlines()
             if line.strip() and not line.startswith("#")]
    if target == "book":
        lines = (source / "data" / "librito.txt").read_text().splitlines(keepends=True)
        yield from ("".join(lines[i:i + 20]) for i in range(0, len(lines), 20))
    elif target == "fen":
        yield from bench
        yield from sorted({f for p in (source / "tests").rglob("*.cpp") for f in FEN.findall(p.read_text(errors="replace"))})
    elif target == "uci":
        yield from ("position fen %s\ngo depth 1\n" % fen for fen in bench)
    yield from (path.read_text() for path in sorted((source / "tests" / "fuzz" / "corpus" / target).glob("*")))


if __name__ == "__main__":
    source, target, out = pathlib.Path(sys.argv[1]), sys.argv[2], pathlib.Path(sys.argv[3])
    out.mkdir(parents=True, exist_ok=True)
    count = 0
    for count, text in enumerate(first_inputs(source, target), 1):
        (out / ("input-%04d" % count)).write_text(text)
    if count == 0:
        sys.exit("firstinputs.py: no inputs for %s" % target)
