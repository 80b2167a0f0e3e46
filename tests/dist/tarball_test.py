#!/usr/bin/env python3
"""The Linux engine's tarball as a user gets it, unpacked into an empty
folder by CTest: its files, a binary that loads no library, and its bench
and UCI conversation, playing from the unpacked book."""

import os
import sys
import tarfile
import tempfile

sys.dont_write_bytecode = True  # no cache files in the source tree
import package_test as p  # noqa: E402


def main():
    tarball, version = sys.argv[1:3]
    work = tempfile.mkdtemp(prefix="zarvi-tarball-")
    with tarfile.open(tarball) as archive:
        names = archive.getnames()
        archive.extractall(work)
    top = "zarvi-" + version
    p.check(names == [top] + [top + "/" + f for f in ("zarvi-engine", "librito.txt", "README.txt")],
            "%s holds %s" % (work, names))
    folder = os.path.join(work, top)
    p.check(p.read(folder, "librito.txt") == p.read(p.REPO, "data", "librito.txt"), "librito.txt is the shipped book")
    headers = p.run(folder, "readelf", "-ld", "zarvi-engine")
    p.check("LOAD" in headers and "INTERP" not in headers and "NEEDED" not in headers,
            "zarvi-engine is static: no interpreter, no library")
    p.check_uci(folder, version, "./zarvi-engine")
    p.check_bench(folder, "./zarvi-engine")
    print("%d failed" % len(p.failures))
    return 1 if p.failures else 0


if __name__ == "__main__":
    raise SystemExit(main())
