#!/usr/bin/env python3
"""End-to-end tests of the shipped zarvi.exe, run by CTest.

The program runs under wine on a virtual display of its own, is driven only
by real mouse clicks and keys (xdotool) and is judged only by screenshots
and the X window it shows:

  play      the window's size, the starting position drawn with our square
            images, e2-e4 answered by a black move, the about box, new game
            and "bye bye :(" through the menus.
  thinking  at the "normal(~25s)" level: the board and the status bar keep
            painting while the engine thinks (the status bar changes and the
            board shows again after another window covered it), and the
            reply comes within the level's time plus one root move.

Screenshots are left in a folder whose path is printed.
"""

import os
import subprocess
import sys
import tempfile
import time

sys.dont_write_bytecode = True  # no cache files in the source tree
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "scripts"))
import desktop_driver as d  # noqa: E402

OUTER_SIZE = (493, 551)
NORMAL_SECONDS = 25
# The search looks at its clock only between root moves (and goes on while
# its score falls), so the reply may come one root move after the level's
# time; the first move of a deep iteration can take as long as a whole
# earlier iteration, so a root move is allowed as much again as the level.
ROOT_MOVE_ALLOWANCE = NORMAL_SECONDS
STATUS_BAR_ROWS = range(485, 497)  # below the board, through the status text


class Checks:
    def __init__(self):
        self.passed = 0
        self.failed = 0
        self.started = time.time()

    def check(self, condition, what):
        print("%5.1f s  %s %s" % (time.time() - self.started, "ok  " if condition else "FAIL", what), flush=True)
        if condition:
            self.passed += 1
        else:
            self.failed += 1
        return condition


def wait_for(condition, timeout, step=0.25):
    deadline = time.time() + timeout
    while time.time() < deadline:
        value = condition()
        if value:
            return value
        time.sleep(step)
    return None


def window_named(display, title):
    found = display.run("xdotool", "search", "--name", "^%s$" % title, check=False).split()
    return found[0] if found else None


def status_bar(screen, origin):
    return b"".join(screen.row(origin[0], origin[1] + y, 400) for y in STATUS_BAR_ROWS)


def play(program, display, images, folder, checks):
    x, y, width, height = program.geometry()
    # Without a window manager the X window is the window less the frame and
    # caption a manager would draw; the window sits at the screen's corner,
    # so the X window's position gives them (the frame is as wide on every
    # side).
    checks.check((width + 2 * x, height + y + x) == OUTER_SIZE,
                 "outer window %dx%d (X window %dx%d at %d,%d)"
                 % (width + 2 * x, height + y + x, width, height, x, y))

    start = program.board(images, display.screenshot(os.path.join(folder, "start.png")))
    checks.check(start == d.START_POSITION, "the starting position is drawn with the square images")

    program.click_square("e2")
    screen = display.screenshot(os.path.join(folder, "selected.png"))
    left, top = program.origin[0] + 4 * d.SQUARE, program.origin[1] + 6 * d.SQUARE
    frame = all(screen.pixel(left + i, top + 2) == d.GRID and screen.pixel(left + 2, top + i) == d.GRID
                for i in range(2, d.SQUARE - 2))
    checks.check(frame, "a click on e2 frames the pawn")

    program.click_square("e4")
    after_e4 = d.after_moves(start, ("e2", "e4"))
    board = d.wait_for_reply(program, images, after_e4, timeout=60)
    display.screenshot(os.path.join(folder, "reply.png"))
    reply = board and d.black_reply(after_e4, board)
    checks.check(bool(reply), "e2-e4 is answered by a black move%s" % (": %s-%s" % reply if reply else ""))

    program.choose_menu("Details", 0)
    about = wait_for(lambda: window_named(display, "About this thingy"), 10)
    if checks.check(bool(about), "Details > version,autor. opens the about box"):
        display.screenshot(os.path.join(folder, "about.png"))
        display.keys("Return")
        checks.check(wait_for(lambda: not window_named(display, "About this thingy"), 10),
                     "its ok button closes it")

    program.choose_menu("Game", 0)
    board = wait_for(lambda: program.board(images) == d.START_POSITION, 10)
    checks.check(bool(board), "Game > new game sets up the starting position")

    program.choose_menu("Game", 3)
    code = program.wait_for_exit(30)
    checks.check(code == 0, "Game > bye bye :( ends the program (exit code %s)" % code)


def thinking(program, display, images, folder, checks):
    program.choose_menu("Level", 1)
    time.sleep(1)
    program.click_square("e2")
    program.click_square("e4")
    started = time.time()
    after_e4 = d.after_moves(d.START_POSITION, ("e2", "e4"))

    time.sleep(1.5)
    early = display.screenshot(os.path.join(folder, "thinking-early.png"))
    cover_image = os.path.join(folder, "cover.png")
    subprocess.run(["convert", "-size", "700x700", "xc:red", cover_image], check=True)
    cover = subprocess.Popen(["display", "-geometry", "+0+0", cover_image], env=display.env)
    covered = wait_for(lambda: program.board(images).count(None) == 64, 10)
    display.screenshot(os.path.join(folder, "thinking-covered.png"))
    checks.check(bool(covered), "another window covers the board")
    time.sleep(2)
    cover.terminate()
    cover.wait()
    time.sleep(2)
    uncovered = display.screenshot(os.path.join(folder, "thinking-uncovered.png"))
    elapsed = time.time() - started
    checks.check(program.board(images, uncovered) == after_e4 and elapsed < NORMAL_SECONDS,
                 "uncovered mid-search (%.0f s in), the board shows again" % elapsed)
    checks.check(status_bar(early, program.origin) != status_bar(uncovered, program.origin),
                 "the status bar's thinking line changed while the engine thinks")

    board = d.wait_for_reply(program, images, after_e4, timeout=NORMAL_SECONDS + 60)
    elapsed = time.time() - started
    display.screenshot(os.path.join(folder, "thinking-reply.png"))
    reply = board and d.black_reply(after_e4, board)
    checks.check(bool(reply), "e2-e4 is answered by a black move%s" % (": %s-%s" % reply if reply else ""))
    checks.check(elapsed <= NORMAL_SECONDS + ROOT_MOVE_ALLOWANCE,
                 "the reply came after %.1f s (level %d s)" % (elapsed, NORMAL_SECONDS))


def main():
    exe, mode = sys.argv[1], sys.argv[2]
    folder = tempfile.mkdtemp(prefix="zarvi-%s-" % mode)
    print("screenshots in %s" % folder, flush=True)
    images = d.square_images()
    checks = Checks()
    display = d.Display()
    program = None
    try:
        program = d.Program(display, exe, folder)
        program.wait_for_window()
        program.wait_for_board()
        {"play": play, "thinking": thinking}[mode](program, display, images, folder, checks)
    finally:
        if program:
            program.stop()
        display.close()
    print("%d passed, %d failed" % (checks.passed, checks.failed))
    return 1 if checks.failed else 0


if __name__ == "__main__":
    raise SystemExit(main())
