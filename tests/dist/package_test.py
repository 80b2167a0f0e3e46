#!/usr/bin/env python3
"""A release package as a user gets it, unpacked into an empty folder and
run by CTest: its files, the shipped book and the engine playing from it;
for the Windows zip, under wine, the programs' imports, versions and
manifests; for the Linux tarball, a binary that loads no library and its
bench. The setup test plays the zip's bytes, installed, with real clicks,
through the helpers here.

    package_test.py ZIP VERSION OBJDUMP
    package_test.py TARBALL VERSION
"""

import os
import re
import subprocess
import sys
import tarfile
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
    package, version, objdump = (sys.argv[1:] + [""])[:3]
    windows = package.endswith(".zip")
    top = "zarvi-%s" % version
    work = tempfile.mkdtemp(prefix="zarvi-dist-")
    print("unpacked in %s" % work, flush=True)
    with (zipfile.ZipFile(package) if windows else tarfile.open(package)) as archive:
        names = [name.rstrip("/") for name in (archive.namelist() if windows else archive.getnames())]
        archive.extractall(work)
    programs = ["zarvi.exe", "zarvi-engine.exe"] if windows else ["zarvi-engine"]
    check(names == [top] + [top + "/" + f for f in programs + ["librito.txt", "README.txt"]],
          "%s holds %s" % (os.path.basename(package), names))
    folder = os.path.join(work, top)
    readme = read(folder, "README.txt")
    check(readme.count(b"\n") > 1 and readme.count(b"\r\n") == (readme.count(b"\n") if windows else 0) and
          ("Zarvi %s" % version).encode() in readme,
          "README.txt names the version, in %s lines" % ("Windows" if windows else "Unix"))
    check(read(folder, "librito.txt") == read(REPO, "data", "librito.txt"), "librito.txt is the shipped book")
    if windows:
        for program in programs:
            check_program(folder, program, version, objdump)
        check_uci(folder, version, "wine", "zarvi-engine.exe")
    else:
        headers = run(folder, "readelf", "-ld", "zarvi-engine")
        check("LOAD" in headers and "INTERP" not in headers and "NEEDED" not in headers,
              "zarvi-engine is static: no interpreter, no library")
        check_uci(folder, version, "./zarvi-engine")
        check_bench(folder, "./zarvi-engine")
    print("%d failed" % len(failures))
    return 1 if failures else 0


if __name__ == "__main__":
    raise SystemExit(main())
