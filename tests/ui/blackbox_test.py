#!/usr/bin/env python3
"""End-to-end tests of the shipped zarvi.exe, run by CTest.

The program runs under wine on a virtual display of its own, is driven only
by real mouse clicks and keys (xdotool) and is judged only by screenshots
and the X window it shows: the window's size and the starting position
drawn with our square images; at the "normal(~25s)" level, e2-e4 while the
board and the status bar keep painting (the status bar changes and the
board shows again after another window covered it), answered by a black
move within the level's time plus one root move; new game and "bye bye :("
through the menus.

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

NORMAL_SECONDS = 25
# The search looks at its clock only between root moves (and goes on while
# its score falls), and the first move of a deep iteration can take as long
# as a whole earlier iteration: the reply may come a level's time late.
ROOT_MOVE_ALLOWANCE = NORMAL_SECONDS
failed = []


def check(condition, what):
    print("%s %s" % ("ok  " if condition else "FAIL", what), flush=True)
    if not condition:
        failed.append(what)
    return condition


def wait_for(condition, timeout):
    deadline = time.time() + timeout
    while time.time() < deadline:
        value = condition()
        if value:
            return value
        time.sleep(0.25)
    return None


def play(program, display, images, folder):
    def status_bar(screen):
        return b"".join(screen.row(program.origin[0], program.origin[1] + y, 400) for y in range(485, 497))

    x, y, width, height = program.geometry()
    # Without a window manager the X window is the window less the frame
    # and caption a manager would draw, as wide on every side.
    check((width + 2 * x, height + y + x) == (493, 551), "outer window %dx%d" % (width + 2 * x, height + y + x))
    start = program.board(images, display.screenshot(os.path.join(folder, "start.png")))
    check(start == d.START_POSITION, "the starting position is drawn with the square images")
    program.click_square("e4")  # an empty square: the window is active before its menu is used
    program.choose_menu("Level", 1)
    time.sleep(1)
    program.click_square("e2")
    program.click_square("e4")
    started = time.time()
    after_e4 = d.after_moves(start, ("e2", "e4"))
    time.sleep(1.5)
    early = display.screenshot(os.path.join(folder, "thinking-early.png"))
    cover_image = os.path.join(folder, "cover.png")
    subprocess.run(["convert", "-size", "700x700", "xc:red", cover_image], check=True)
    cover = subprocess.Popen(["display", "-geometry", "+0+0", cover_image], env=display.env)
    check(wait_for(lambda: program.board(images).count(None) == 64, 10), "another window covers the board")
    time.sleep(2)
    cover.terminate()
    cover.wait()
    time.sleep(2)
    uncovered = display.screenshot(os.path.join(folder, "thinking-uncovered.png"))
    elapsed = time.time() - started
    check(program.board(images, uncovered) == after_e4 and elapsed < NORMAL_SECONDS,
          "uncovered mid-search (%.0f s in), the board shows again" % elapsed)
    check(status_bar(early) != status_bar(uncovered), "the status bar's thinking line changed while the engine thinks")
    board = d.wait_for_reply(program, images, after_e4, timeout=NORMAL_SECONDS + 60)
    reply = board and d.black_reply(after_e4, board)
    check(bool(reply), "e2-e4 is answered by a black move%s" % (": %s-%s" % reply if reply else ""))
    elapsed = time.time() - started
    check(elapsed <= NORMAL_SECONDS + ROOT_MOVE_ALLOWANCE, "the reply came after %.1f s" % elapsed)

    program.choose_menu("Game", 0)
    check(wait_for(lambda: program.board(images) == d.START_POSITION, 10), "new game sets up the starting position")
    program.choose_menu("Game", 3)
    code = program.wait_for_exit(30)
    check(code == 0, "bye bye :( ends the program (exit code %s)" % code)


def main():
    folder = tempfile.mkdtemp(prefix="zarvi-blackbox-")
    print("screenshots in %s" % folder, flush=True)
    images = d.square_images()
    display = d.Display()
    program = None
    try:
        program = d.Program(display, sys.argv[1], folder)
        program.wait_for_window()
        program.wait_for_board()
        play(program, display, images, folder)
    finally:
        if program:
            program.stop()
        display.close()
    print("%d failed" % len(failed))
    return 1 if failed else 0


if __name__ == "__main__":
    raise SystemExit(main())
