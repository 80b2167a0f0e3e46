#!/usr/bin/env python3
"""Builds the Windows setup program from the release zip, so that it
installs the zip's very bytes, and byte for byte the same from the same zip.

The zip is unpacked into a fresh folder whose files take the zip's dates
(the setup program stores them and the installed files get them back) and
makensis packs release/setup.nsi around that folder.
"""

import argparse
import calendar
import os
import subprocess
import tempfile
import zipfile


def unpack(zip_path, folder):
    """The zip's one folder, unpacked into folder, its files dated as in the zip."""
    with zipfile.ZipFile(zip_path) as archive:
        archive.extractall(folder)
        for info in archive.infolist():
            date = calendar.timegm(info.date_time + (0, 0, 0))
            os.utime(os.path.join(folder, info.filename), (date, date))
        return os.path.join(folder, archive.namelist()[0])


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--script", required=True, help="the NSIS script")
    parser.add_argument("--icon", required=True)
    parser.add_argument("--version", required=True)
    parser.add_argument("zip")
    parser.add_argument("setup", help="the setup program to write")
    options = parser.parse_args()
    partial = options.setup + ".partial"
    with tempfile.TemporaryDirectory() as folder:
        files = unpack(options.zip, folder)
        subprocess.run(["makensis", "-V2", "-WX", "-DVERSION=" + options.version, "-DFILES=" + files,
                        "-DICON=" + os.path.abspath(options.icon), "-DOUTFILE=" + os.path.abspath(partial),
                        options.script], check=True)
    os.replace(partial, options.setup)
    print("dist: %s (%d bytes)" % (options.setup, os.path.getsize(options.setup)))


if __name__ == "__main__":
    main()
