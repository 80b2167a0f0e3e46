#!/usr/bin/env python3
"""The Windows setup program under wine, run by CTest in a wine prefix made
afresh (nothing of the shared one shows through): a silent install of the
zip's files with its uninstall entry and a Start menu shortcut, zarvi.exe
started as that shortcut starts it playing e2-e4 from the book with real
clicks, the installed engine's bench, then silent uninstalls that leave
nothing of Zarvi behind but a style file the user added, in its folder."""

import os
import re
import shutil
import subprocess
import sys
import tempfile
import time
import zipfile

sys.dont_write_bytecode = True  # no cache files in the source tree
import package_test as p  # noqa: E402

sys.path.insert(0, os.path.join(p.REPO, "scripts"))
import desktop_driver as d  # noqa: E402

def wine(*command, wait=False):
    """Runs command; with wait, until the prefix's programs end (an uninstaller goes on as a copy)."""
    said = subprocess.run(command, capture_output=True, text=True).stdout
    if wait:
        subprocess.run(["wineserver", "-w"])
    return said


def unix_path(path):
    """Where a path on the prefix's drive C lies (without winepath, which takes seconds)."""
    return os.path.join(os.environ["WINEPREFIX"], "drive_c", *path.split("\\")[1:])


def uninstall_entry():
    said = wine("wine", "reg", "query", r"HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Zarvi")
    return dict(re.findall(r"^\s+(\w+)\s+REG_\w+\s+(.*?)\s*$", said, re.M))


def shortcut(path):
    """The target and the working folder that a .lnk file names."""
    data = p.read(path)
    number = lambda at, size=2: int.from_bytes(data[at:at + size], "little")  # noqa: E731
    flags, at = number(0x14), 0x4C
    at += 2 + number(at) if flags & 1 else 0  # the target as shell items
    base = at + number(at + 16, 4)  # the link information's local path
    at += number(at, 4)
    for flag in (0x04, 0x08):  # the name and the relative path come before the working folder
        at += 2 + 2 * number(at) if flags & flag else 0
    # Each string counted in UTF-16 characters; wine counts the terminating null too.
    start_in = data[at + 2:at + 2 + 2 * number(at)].decode("utf-16-le").rstrip("\0") if flags & 0x10 else ""
    return data[base:data.index(b"\0", base)].decode(), start_in


def traces(users):
    """Every file and folder under users whose path there says Zarvi."""
    found = (os.path.join(top, name) for top, folders, files in os.walk(users) for name in folders + files)
    return sorted(os.path.relpath(path, users) for path in found if "zarvi" in os.path.relpath(path, users).lower())


def gone(users):
    """What of Zarvi is left, once the uninstaller's copy has had 10 s to end."""
    for _ in range(10):
        left, entry = traces(users), uninstall_entry()
        if not left and not entry:
            break
        time.sleep(1)
    return left, entry


def main():
    setup, zip_path, version = sys.argv[1:4]
    work = tempfile.mkdtemp(prefix="zarvi-setup-")
    prefix, users = os.path.join(work, "prefix"), os.path.join(work, "prefix", "drive_c", "users")
    # winemenubuilder would copy the shortcuts into this desktop's menus.
    os.environ.update(WINEPREFIX=prefix, WINEDEBUG="-all", WINEDLLOVERRIDES="winemenubuilder.exe=d")
    started = time.time()
    wine("wineboot", "--init", wait=True)
    print("a fresh wine prefix in %.0f s" % (time.time() - started), flush=True)
    try:
        wine("wine", setup, "/S")
        entry = uninstall_entry()
        print("".join("  %s = %s\n" % item for item in sorted(entry.items())), end="")
        folder = unix_path(entry.get("InstallLocation", "C:"))
        with zipfile.ZipFile(zip_path) as archive:
            zipped = {os.path.basename(n): archive.read(n) for n in archive.namelist() if not n.endswith("/")}
        installed = {name: p.read(folder, name) for name in os.listdir(folder)}
        p.check(folder.endswith("/AppData/Local/Programs/Zarvi") and installed.pop("uninstall.exe", None) and
                installed == zipped, "%s holds the zip's %s and uninstall.exe" % (folder, sorted(zipped)))
        p.check(entry.get("DisplayVersion") == version and entry.get("Publisher") and
                os.path.isfile(unix_path(entry.get("DisplayIcon", "C:").split(",")[0])),
                "the uninstall entry: version, publisher, icon")

        menu = os.path.join(users, os.listdir(users)[0], "AppData/Roaming/Microsoft/Windows/Start Menu/Programs")
        target, start_in = (unix_path(path) for path in shortcut(os.path.join(menu, "Zarvi", "Zarvi.lnk")))
        p.check((target, start_in) == (os.path.join(folder, "zarvi.exe"), folder),
                "the Start menu shortcut starts %s in %s" % (target, start_in))
        output = os.path.join(work, "output.txt")
        p.check(d.demo(target, start_in, os.path.join(work, "reply.png"), output) == 0 and
                re.search(rb"\([a-h][1-8][a-h][1-8] \d+%", p.read(output)),
                "so started, it answers e2-e4 from the book (screenshot %s/reply.png)" % work)
        p.check_bench(folder, "wine", "zarvi-engine.exe")

        wine("wine", os.path.join(folder, "uninstall.exe"), "/S", wait=True)
        left, entry = gone(users)
        p.check(left == [] and entry == {}, "uninstalled: no file, shortcut or entry left (%s %s)" % (left, entry))
        wine("wine", setup, "/S")
        with open(os.path.join(folder, "estilo.ini"), "w") as style:
            style.write("hash=8\n")
        wine("wine", os.path.join(folder, "uninstall.exe"), "/S", wait=True)
        left = traces(users)
        p.check(left == [os.path.relpath(f, users) for f in (folder, os.path.join(folder, "estilo.ini"))] and
                uninstall_entry() == {}, "uninstalled beside a style file: %s left" % left)
    finally:
        subprocess.run(["wineserver", "-k"])
        shutil.rmtree(prefix, ignore_errors=True)
    print("%d failed" % len(p.failures))
    return 1 if p.failures else 0


if __name__ == "__main__":
    raise SystemExit(main())
