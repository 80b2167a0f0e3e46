#!/usr/bin/env python3
"""Packs a release: one folder of files, in a zip for Windows or a gzipped
tar for Linux, that comes out byte for byte the same from the same commit.

The programs are stripped of their symbols (a smaller download) with no
time stamp; the other files go in as they are. Every entry is dated by the
last commit (or SOURCE_DATE_EPOCH), in the order given; the tar's entries
belong to root and its gzip header names no file and no time.
"""

import argparse
import gzip
import io
import os
import subprocess
import tarfile
import tempfile
import time
import zipfile

# The earliest date a zip can hold, for a source tree without its history.
EARLIEST = 315532800  # 1980-01-01 UTC
DOS_DIRECTORY, DOS_ARCHIVE = 0x10, 0x20
PROGRAM_MAGIC = (b"MZ", b"\x7fELF")


def package_date():
    if os.environ.get("SOURCE_DATE_EPOCH"):
        return int(os.environ["SOURCE_DATE_EPOCH"])
    try:
        found = subprocess.run(["git", "log", "-1", "--format=%ct"], capture_output=True, text=True)
    except OSError:
        return EARLIEST
    return int(found.stdout) if found.returncode == 0 and found.stdout.strip() else EARLIEST


def content(path, strip):
    with open(path, "rb") as f:
        data = f.read()
    if not data.startswith(PROGRAM_MAGIC):
        return data
    with tempfile.TemporaryDirectory() as folder:
        stripped = os.path.join(folder, os.path.basename(path))
        # strip would stamp a Windows program with the time of day without this.
        subprocess.run([strip, "--strip-all", "-o", stripped, path], check=True,
                       env=dict(os.environ, SOURCE_DATE_EPOCH="0"))
        with open(stripped, "rb") as f:
            return f.read()


def zip_entry(name, date, attributes):
    info = zipfile.ZipInfo(name, time.gmtime(max(date, EARLIEST))[:6])
    info.create_system = 0  # MS-DOS attributes, whatever system packs it
    info.external_attr = attributes
    info.compress_type = zipfile.ZIP_STORED if name.endswith("/") else zipfile.ZIP_DEFLATED
    return info


def write_zip(path, folder, files, date):
    with zipfile.ZipFile(path, "w") as archive:
        archive.writestr(zip_entry(folder + "/", date, DOS_DIRECTORY), b"")
        for name, data in files:
            archive.writestr(zip_entry(folder + "/" + name, date, DOS_ARCHIVE), data, compresslevel=9)


def tar_entry(name, date, mode, size=0):
    info = tarfile.TarInfo(name)
    info.mtime, info.mode, info.size = date, mode, size
    info.uname = info.gname = "root"
    return info


def write_tar(path, folder, files, date):
    with open(path, "wb") as raw, gzip.GzipFile("", "wb", 9, raw, mtime=0) as packed, \
            tarfile.open(fileobj=packed, mode="w", format=tarfile.USTAR_FORMAT) as archive:
        directory = tar_entry(folder, date, 0o755)
        directory.type = tarfile.DIRTYPE
        archive.addfile(directory)
        for name, data in files:
            mode = 0o755 if data.startswith(PROGRAM_MAGIC) else 0o644
            archive.addfile(tar_entry(folder + "/" + name, date, mode, len(data)), io.BytesIO(data))


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--strip", required=True, help="the strip tool for the programs")
    parser.add_argument("archive", help="a .zip or a .tar.gz")
    parser.add_argument("folder", help="the one folder in the archive")
    parser.add_argument("files", nargs="+")
    options = parser.parse_args()
    files = [(os.path.basename(path), content(path, options.strip)) for path in options.files]
    os.makedirs(os.path.dirname(os.path.abspath(options.archive)), exist_ok=True)
    partial = options.archive + ".partial"
    write = write_tar if options.archive.endswith(".tar.gz") else write_zip
    write(partial, options.folder, files, package_date())
    os.replace(partial, options.archive)
    print("dist: %s (%d bytes)" % (options.archive, os.path.getsize(options.archive)))


if __name__ == "__main__":
    main()
