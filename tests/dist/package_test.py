#!/usr/bin/env python3
"""The release zip as a Windows user gets it, unpacked into an empty folder
and run by CTest under wine: its files, the programs' imports, versions and
manifests, and the unpacked engine playing from the unpacked book. The
setup test plays the same bytes, installed, with real clicks; the helpers
here serve it and the Linux tarball's test too."""

import os
import re
import subprocess
import sys
import tempfile
import zipfile

sys.dont_write_bytecode = True  # no cache files in the source tree
REPO = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..")
SYSTEM_DLLS = set("advapi32 comctl32 gdi32 kernel32 msvcrt shell32 user32".split())
failures = []


def check(condition, what):
    print("%s %s" % ("ok  " if condition else "FAIL", what), flush=True)
    if not condition:
        failures.append(what)


def read(*path):
    with open(os.path.join(*path), "rb") as f:
        return f.read()


def run(folder, *command, stdin=""):
    return subprocess.run(command, cwd=folder, input=stdin, capture_output=True, text=True,
                          env=dict(os.environ, WINEDEBUG="-all")).stdout


def check_program(folder, name, version, objdump):
    imports = re.findall(r"DLL Name: (\S+)", run(folder, objdump, "-p", name))
    system = imports and {i.lower().removesuffix(".dll") for i in imports} <= SYSTEM_DLLS
    check(system, "%s imports %s" % (name, " ".join(imports)))
    data = read(folder, name)
    product = "ProductVersion".encode("utf-16-le") + b"(\0\0)+" + re.escape(version.encode("utf-16-le")) + b"\0\0"
    check(re.search(product, data), "%s carries version %s" % (name, version))
    check(b"Microsoft.Windows.Common-Controls" in data and b"dpiAware" not in data,
          "%s has the manifest: common controls 6, no DPI awareness" % name)


def check_bench(folder, *engine):
    signature = re.findall(r"# Signature at the default depth: (\d+)", read(REPO, "data", "bench.fen").decode())
    nodes = re.findall(r"Nodes searched: (\d+)", run(folder, *engine, "bench"))
    check(nodes == signature, "its bench searches %s nodes (expected %s)" % (nodes, signature))


def check_uci(folder, version, *engine):
    """The engine's name, and a book move from the book in folder, through a pipe."""
    said = run(folder, *engine, stdin="uci\nsetoption name OwnBook value true\nisready\n"
               "position startpos moves e2e4\ngo depth 1\n")
    expected = r"id name Zarvi %s\r?\n.*uciok.*readyok\r?\ninfo string book move (\S+)\r?\nbestmove \1\r?\n"
    check(re.search(expected % re.escape(version), said, re.S),
          "the engine names itself Zarvi %s and plays from its book" % version)


def main():
    zip_path, version, objdump = sys.argv[1:4]
    top = "zarvi-%s" % version
    work = tempfile.mkdtemp(prefix="zarvi-dist-")
    print("unpacked in %s" % work, flush=True)
    with zipfile.ZipFile(zip_path) as archive:
        names = archive.namelist()
        archive.extractall(work)
    files = ["zarvi.exe", "zarvi-engine.exe", "librito.txt", "README.txt"]
    check(sorted(names) == sorted([top + "/"] + [top + "/" + f for f in files]), "the zip holds %s" % names)
    folder = os.path.join(work, top)
    readme = read(folder, "README.txt")
    check(readme.count(b"\n") > 1 and readme.count(b"\n") == readme.count(b"\r\n") and
          ("Zarvi %s" % version).encode() in readme, "README.txt names the version, in Windows lines")
    check(read(folder, "librito.txt") == read(REPO, "data", "librito.txt"), "librito.txt is the shipped book")
    for program in files[:2]:
        check_program(folder, program, version, objdump)

    check_uci(folder, version, "wine", "zarvi-engine.exe")
    print("%d failed" % len(failures))
    return 1 if failures else 0


if __name__ == "__main__":
    raise SystemExit(main())
