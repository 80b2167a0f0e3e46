#!/usr/bin/env python3
"""Packs the Windows release: one folder of files in a zip that comes out
byte for byte the same from the same commit.

The executables are stripped of their symbols (a smaller download) with no
time stamp; the other files go in as they are. Every entry is dated by the
last commit (or SOURCE_DATE_EPOCH), in the order given.
"""

import argparse
import os
import subprocess
import tempfile
import time
import zipfile

# The earliest date a zip can hold, for a source tree without its history.
EARLIEST = 315532800  # 1980-01-01 UTC
DOS_DIRECTORY, DOS_ARCHIVE = 0x10, 0x20


def package_date():
    if os.environ.get("SOURCE_DATE_EPOCH"):
        return int(os.environ["SOURCE_DATE_EPOCH"])
    try:
        found = subprocess.run(["git", "log", "-1", "--format=%ct"], capture_output=True, text=True)
    except OSError:
        return EARLIEST
    return int(found.stdout) if found.returncode == 0 and found.stdout.strip() else EARLIEST


def content(path, strip):
    name = os.path.basename(path)
    if name.endswith(".exe"):
        with tempfile.TemporaryDirectory() as folder:
            stripped = os.path.join(folder, name)
            # strip would stamp the file with the time of day without this.
            subprocess.run([strip, "--strip-all", "-o", stripped, path], check=True,
                           env=dict(os.environ, SOURCE_DATE_EPOCH="0"))
            with open(stripped, "rb") as f:
                return f.read()
    with open(path, "rb") as f:
        return f.read()


def entry(name, date, attributes):
    info = zipfile.ZipInfo(name, time.gmtime(max(date, EARLIEST))[:6])
    info.create_system = 0  # MS-DOS attributes, whatever system packs it
    info.external_attr = attributes
    info.compress_type = zipfile.ZIP_STORED if name.endswith("/") else zipfile.ZIP_DEFLATED
    return info


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--strip", required=True, help="the strip tool for the executables")
    parser.add_argument("zip")
    parser.add_argument("folder", help="the one folder in the zip")
    parser.add_argument("files", nargs="+")
    options = parser.parse_args()
    date = package_date()
    os.makedirs(os.path.dirname(os.path.abspath(options.zip)), exist_ok=True)
    partial = options.zip + ".partial"
    with zipfile.ZipFile(partial, "w") as archive:
        archive.writestr(entry(options.folder + "/", date, DOS_DIRECTORY), b"")
        for path in options.files:
            name = options.folder + "/" + os.path.basename(path)
            archive.writestr(entry(name, date, DOS_ARCHIVE), content(path, options.strip), compresslevel=9)
    os.replace(partial, options.zip)
    print("dist: %s (%d bytes)" % (options.zip, os.path.getsize(options.zip)))


if __name__ == "__main__":
    main()
