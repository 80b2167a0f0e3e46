"""Drives the real zarvi.exe under wine on a virtual display, as a user would.

Used by scripts/run-program.sh (the demonstration that `make run` gives on a
machine without a display) and by the end-to-end tests in tests/ui. It
starts Xvfb, starts the program, finds the board in screenshots by the
colours of our own square images, clicks squares and menu items with
xdotool, and reads the position shown by matching every cell against the 26
bitmaps the program is built from.
"""

import os
import select
import subprocess
import time

REPO = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
BITMAPS = os.path.join(REPO, "src", "ui", "resources", "bitmaps")

WINDOW_TITLE = "Zarvi..."
SQUARE = 60
LIGHT_SQUARE = bytes((238, 216, 176))   # the empty light square's colour
GRID = bytes((0, 0, 0))
# Where each menu title sits, from the board's top-left corner (wine's
# default menu font); the items are then chosen with the arrow keys.
MENU_TITLES = {"Game": 21, "Level": 67, "Options": 118, "Details": 173}
MENU_TITLE_ABOVE_BOARD = 11
# A cell's inside, clear of the grid lines and of the selection frame.
INSET = 3

START_POSITION = [
    "TNCASB", "CNCASN", "ANCASB", "DNCASN", "RNCASB", "ANCASN", "CNCASB", "TNCASN",
    "PNCASN", "PNCASB", "PNCASN", "PNCASB", "PNCASN", "PNCASB", "PNCASN", "PNCASB",
] + ["CASB", "CASN"] * 4 + ["CASN", "CASB"] * 4 + ["CASB", "CASN"] * 4 + ["CASN", "CASB"] * 4 + [
    "PBCASB", "PBCASN", "PBCASB", "PBCASN", "PBCASB", "PBCASN", "PBCASB", "PBCASN",
    "TBCASN", "CBCASB", "ABCASN", "DBCASB", "RBCASN", "ABCASB", "CBCASN", "TBCASB",
]


def log(text):
    print(text, flush=True)


class Image:
    """An RGB picture: width, height and 3 bytes a pixel, rows top down."""

    def __init__(self, width, height, data):
        self.width, self.height, self.data = width, height, data

    def pixel(self, x, y):
        i = 3 * (y * self.width + x)
        return self.data[i:i + 3]

    def row(self, x, y, count):
        i = 3 * (y * self.width + x)
        return self.data[i:i + 3 * count]


def read_bitmap(path):
    """A 24-bit uncompressed BMP as an Image."""
    with open(path, "rb") as f:
        raw = f.read()
    offset = int.from_bytes(raw[10:14], "little")
    width = int.from_bytes(raw[18:22], "little", signed=True)
    height = int.from_bytes(raw[22:26], "little", signed=True)
    assert int.from_bytes(raw[28:30], "little") == 24, path
    stride = (3 * width + 3) // 4 * 4
    rows = []
    for y in range(abs(height)):
        source = abs(height) - 1 - y if height > 0 else y
        bgr = raw[offset + source * stride:offset + source * stride + 3 * width]
        rgb = bytearray(3 * width)
        rgb[0::3], rgb[1::3], rgb[2::3] = bgr[2::3], bgr[1::3], bgr[0::3]
        rows.append(bytes(rgb))
    return Image(width, abs(height), b"".join(rows))


def square_images():
    """The 26 square images by resource name."""
    return {name[:-4]: read_bitmap(os.path.join(BITMAPS, name))
            for name in sorted(os.listdir(BITMAPS)) if name.endswith(".bmp")}


def read_ppm(raw):
    """A binary PPM (P6, 8 bits) as an Image."""
    fields, p = [], 0
    while len(fields) < 4:
        while raw[p:p + 1].isspace():
            p += 1
        if raw[p:p + 1] == b"#":
            p = raw.index(b"\n", p)
            continue
        start = p
        while not raw[p:p + 1].isspace():
            p += 1
        fields.append(raw[start:p])
    assert fields[0] == b"P6" and fields[3] == b"255"
    width, height = int(fields[1]), int(fields[2])
    return Image(width, height, raw[p + 1:p + 1 + 3 * width * height])


class Display:
    """A virtual X display, so that clicks never reach a real one: our own
    Xvfb, or the one a caller made for a whole test run and named in
    ZARVI_VIRTUAL_DISPLAY (the Makefile's, which every wine test shares)."""

    def __init__(self, size="800x600x24"):
        self.process = None
        shared = os.environ.get("ZARVI_VIRTUAL_DISPLAY")
        if shared:
            self.name = shared
        else:
            self.name = self.start_server(size)
        self.env = dict(os.environ, DISPLAY=self.name)

    def start_server(self, size):
        reader, writer = os.pipe()
        self.process = subprocess.Popen(
            ["Xvfb", "-displayfd", str(writer), "-screen", "0", size, "-nolisten", "tcp"],
            pass_fds=(writer,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(writer)
        number = b""
        while not number.endswith(b"\n"):
            ready, _, _ = select.select([reader], [], [], 30)
            if not ready:
                raise RuntimeError("Xvfb did not start")
            chunk = os.read(reader, 16)
            if not chunk:
                raise RuntimeError("Xvfb ended at start-up")
            number += chunk
        os.close(reader)
        return ":" + number.decode().strip()

    def run(self, *command, check=True):
        return subprocess.run(command, env=self.env, check=check, capture_output=True, text=True).stdout

    def screenshot(self, path=None):
        """The whole screen as an Image; also saved as a PNG at path."""
        raw = subprocess.run(["import", "-window", "root", "-depth", "8", "ppm:-"], env=self.env, check=True,
                             capture_output=True).stdout
        if path:
            subprocess.run(["convert", "ppm:-", path], input=raw, check=True)
        return read_ppm(raw)

    def click(self, x, y):
        # No --sync: it waits for a motion that never comes when the pointer
        # is already there.
        self.run("xdotool", "mousemove", str(x), str(y), "sleep", "0.1", "click", "1")

    def keys(self, *names):
        for name in names:
            self.run("xdotool", "key", name)
            time.sleep(0.15)

    def close(self):
        if not self.process:
            return
        # wine's session outlives its last program by a few seconds, and its
        # desktop keeps this display: give it the time to end before the
        # display goes.
        end_wine_session()
        self.process.terminate()
        self.process.wait(10)


def wine_environment(display):
    return dict(display.env, WINEDEBUG="-all")


def end_wine_session():
    """Waits (briefly: other wine programs may share the prefix) until no
    wine program of this prefix runs."""
    subprocess.run(["timeout", "10", "wineserver", "-w"], check=False)


class Program:
    """zarvi.exe running under wine in a working folder of its own, its
    output kept in output (output.txt in that folder unless named)."""

    def __init__(self, display, exe, folder, output=None):
        self.display = display
        self.folder = folder
        self.output = open(output or os.path.join(folder, "output.txt"), "w")
        self.process = subprocess.Popen(["wine", os.path.abspath(exe)], cwd=folder, env=wine_environment(display),
                                        stdout=self.output, stderr=subprocess.STDOUT)
        self.window = None
        self.origin = None

    def wait_for_window(self, timeout=60):
        deadline = time.time() + timeout
        while time.time() < deadline:
            found = self.display.run("xdotool", "search", "--name", "^" + WINDOW_TITLE.replace(".", "\\.") + "$",
                                     check=False).split()
            if found:
                self.window = found[0]
                return self.window
            if self.process.poll() is not None:
                raise RuntimeError("zarvi.exe ended at start-up with code %d" % self.process.returncode)
            time.sleep(0.25)
        raise RuntimeError("no window titled %r within %d s" % (WINDOW_TITLE, timeout))

    def geometry(self):
        """Position and size of the program's X window, as xwininfo gives them."""
        info = self.display.run("xwininfo", "-id", self.window)
        values = {}
        for line in info.splitlines():
            key, _, value = line.strip().partition(":")
            values[key] = value.strip()
        return (int(values["Absolute upper-left X"]), int(values["Absolute upper-left Y"]),
                int(values["Width"]), int(values["Height"]))

    def wait_for_board(self, timeout=30):
        deadline = time.time() + timeout
        while time.time() < deadline:
            origin = locate_board(self.display.screenshot())
            if origin:
                self.origin = origin
                return origin
            time.sleep(0.25)
        raise RuntimeError("no board on the screen within %d s" % timeout)

    def square_centre(self, name, flipped=False):
        column, row = ord(name[0]) - ord("a"), 8 - int(name[1])
        if flipped:
            column, row = 7 - column, 7 - row
        return (self.origin[0] + SQUARE * column + SQUARE // 2, self.origin[1] + SQUARE * row + SQUARE // 2)

    def click_square(self, name):
        self.display.click(*self.square_centre(name))
        time.sleep(0.3)

    def choose_menu(self, title, item):
        """Opens a menu of the bar with a click and picks its item-th entry (0 first)."""
        self.display.click(self.origin[0] + MENU_TITLES[title], self.origin[1] - MENU_TITLE_ABOVE_BOARD)
        time.sleep(0.5)
        self.display.keys(*(["Down"] * (item + 1)), "Return")

    def board(self, images, screen=None):
        return read_board(screen or self.display.screenshot(), self.origin, images)

    def wait_for_exit(self, timeout=30):
        try:
            return self.process.wait(timeout)
        except subprocess.TimeoutExpired:
            return None

    def stop(self):
        if self.process.poll() is None:
            self.process.terminate()
            try:
                self.process.wait(10)
            except subprocess.TimeoutExpired:
                self.process.kill()
                self.process.wait()
        self.output.close()


def locate_board(screen):
    """The top-left pixel of the board (its grid corner), or None.

    The first light-square pixel in reading order is the inside corner of
    the top-left cell, which is light from either side; the grid line lies
    one pixel above and to the left of it."""
    data = screen.data
    p = data.find(LIGHT_SQUARE)
    while p >= 0 and p % 3:
        p = data.find(LIGHT_SQUARE, p + 1)
    if p < 0:
        return None
    x, y = (p // 3) % screen.width, (p // 3) // screen.width
    if x > 0 and y > 0 and screen.pixel(x - 1, y - 1) == GRID:
        return (x - 1, y - 1)
    return (x, y)


def cell_name(screen, left, top, images):
    """The image shown in the cell at (left, top), or None if none matches."""
    size = SQUARE - 2 * INSET
    for name, image in images.items():
        if all(screen.row(left + INSET, top + y, size) == image.row(INSET, y, size)
               for y in range(INSET, SQUARE - INSET)):
            return name
    return None


def read_board(screen, origin, images):
    """The 64 images on the screen, top row first, left to right."""
    return [cell_name(screen, origin[0] + SQUARE * c, origin[1] + SQUARE * r, images)
            for r in range(8) for c in range(8)]


def cell_index(name):
    """The index in a read board of a square such as 'e2' (white at the bottom)."""
    return 8 * (8 - int(name[1])) + ord(name[0]) - ord("a")


def after_moves(board, *moves):
    """The board with moves made, each as ('e2', 'e4'); a square keeps its colour."""
    board = list(board)
    for source, target in moves:
        s, t = cell_index(source), cell_index(target)
        piece = board[s][:2]
        board[t] = piece + board[t][-4:]
        board[s] = board[s][-4:]
    return board


def changed_cells(before, after):
    return [i for i in range(64) if before[i] != after[i]]


def square_of(index):
    return "abcdefgh"[index % 8] + str(8 - index // 8)


def wait_for_reply(program, images, before, timeout):
    """Waits until the board differs from before and holds still; returns it."""
    deadline = time.time() + timeout
    while time.time() < deadline:
        board = program.board(images)
        if None not in board and board != before:
            time.sleep(0.3)
            if program.board(images) == board:
                return board
        time.sleep(0.25)
    return None


def black_reply(before, after):
    """The black move that turns before into after, as (from, to), or None."""
    cells = changed_cells(before, after)
    if len(cells) != 2:
        return None
    emptied = [i for i in cells if len(after[i]) == 4 and before[i][1:2] == "N"]
    filled = [i for i in cells if len(after[i]) == 6 and after[i][1] == "N"]
    if len(emptied) != 1 or len(filled) != 1 or before[emptied[0]][0] != after[filled[0]][0]:
        return None
    return square_of(emptied[0]), square_of(filled[0])


def demo(exe, folder, screenshot, output=None):
    """Plays e2-e4 on a virtual display and saves the board after the reply."""
    images = square_images()
    display = Display()
    program = None
    try:
        program = Program(display, exe, folder, output)
        program.wait_for_window()
        start = after_moves(START_POSITION)
        program.wait_for_board()
        program.click_square("e2")
        program.click_square("e4")
        after_e4 = after_moves(start, ("e2", "e4"))
        board = wait_for_reply(program, images, after_e4, timeout=60)
        display.screenshot(screenshot)
        if board is None or black_reply(after_e4, board) is None:
            log("run: no reply from the engine was seen; the screenshot shows what was there")
            return 1
        log("run: e2-e4 answered by %s-%s" % black_reply(after_e4, board))
        log("run: screenshot %s" % screenshot)
        program.choose_menu("Game", 3)  # bye bye :(
        program.wait_for_exit(30)
        return 0
    finally:
        if program:
            program.stop()
        display.close()


def main():
    import argparse
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("exe")
    parser.add_argument("folder")
    parser.add_argument("--screenshot", required=True)
    options = parser.parse_args()
    return demo(options.exe, options.folder, options.screenshot)


if __name__ == "__main__":
    raise SystemExit(main())
