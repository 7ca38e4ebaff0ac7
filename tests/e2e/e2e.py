#!/usr/bin/env python3
"""End-to-end tests of the real binaries on an X server with a window manager,
driven like a player with xdotool and checked by screenshots.

Run inside tools/x-session.sh. Environment: TESSAROO_GAME (the game binary),
TESSAROO_PROBE (the window probe), TESSAROO_SOURCE_DIR. Usage:
    e2e.py TestClass[.test_name] ...
"""
import os
import re
import struct
import subprocess
import sys
import tempfile
import time
import unittest
import zlib

GAME = os.environ.get("TESSAROO_GAME", "")
PROBE = os.environ.get("TESSAROO_PROBE", "")
SOURCE = os.environ.get("TESSAROO_SOURCE_DIR", ".")
MAIN_TITLE = "Tessaroo by www.corvenna.example"
BLACK = (0, 0, 0)


# ---- the screen ------------------------------------------------------------

class Shot:
    """A screenshot of the whole screen as RGB rows."""

    def __init__(self):
        ppm = subprocess.run(["import", "-window", "root", "-depth", "8", "ppm:-"],
                             check=True, capture_output=True).stdout
        fields = re.match(rb"P6\s+(\d+)\s+(\d+)\s+(\d+)\s", ppm)
        self.width, self.height = int(fields.group(1)), int(fields.group(2))
        self.data = ppm[fields.end():]

    def pixel(self, x, y):
        i = (y * self.width + x) * 3
        return tuple(self.data[i:i + 3])

    def mean(self, x, y, width, height):
        """The mean colour of a rectangle, sampled every other pixel."""
        total, count = [0, 0, 0], 0
        for yy in range(y, y + height, 2):
            for xx in range(x, x + width, 2):
                p = self.pixel(xx, yy)
                for c in range(3):
                    total[c] += p[c]
                count += 1
        return tuple(t / count for t in total)


def close_to(a, b, tolerance=12):
    return all(abs(x - y) <= tolerance for x, y in zip(a, b))


def wait_for(condition, timeout, interval=0.05):
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        result = condition()
        if result:
            return result
        time.sleep(interval)
    return condition()


def xdotool(*arguments):
    return subprocess.run(["xdotool", *map(str, arguments)], capture_output=True,
                          text=True).stdout.strip()


def find_window(title, timeout=10):
    """The id of a visible window whose title matches exactly."""
    pattern = "^" + re.escape(title) + "$"
    found = wait_for(lambda: xdotool("search", "--onlyvisible", "--name", pattern), timeout)
    return found.split()[0] if found else None


def window_gone(title, timeout):
    pattern = "^" + re.escape(title) + "$"
    return wait_for(lambda: not xdotool("search", "--onlyvisible", "--name", pattern), timeout)


def client_geometry(window):
    """(x, y, width, height) of a window's client area on the screen."""
    info = subprocess.run(["xwininfo", "-id", window], capture_output=True, text=True).stdout
    value = lambda name: int(re.search(name + r":\s+(-?\d+)", info).group(1))
    return (value("Absolute upper-left X"), value("Absolute upper-left Y"),
            value("Width"), value("Height"))


def frame_extents(window):
    """(left, right, top, bottom) that the window manager adds around the client."""
    out = subprocess.run(["xprop", "-id", window, "_NET_FRAME_EXTENTS"],
                         capture_output=True, text=True).stdout
    numbers = re.findall(r"\d+", out.split("=")[-1]) if "=" in out else []
    return tuple(int(n) for n in numbers) if len(numbers) == 4 else (0, 0, 0, 0)


def click(x, y, button=1, repeat=1):
    xdotool("mousemove", "--sync", x, y)
    xdotool("click", "--repeat", repeat, "--delay", 80, button)


def key(*keys):
    xdotool("key", "--delay", 50, *keys)


# ---- pictures ----------------------------------------------------------------

def square_colour(column, row):
    return (40 + 60 * column, 40 + 80 * row, 200 - 40 * column)


UNCUT = (250, 250, 0)


def fixture_pixel(x, y):
    column, row = x // 100, y // 100
    if x % 100 >= 98 or y % 100 >= 98 or (column, row) == (3, 2):
        return UNCUT
    return square_colour(column, row)


def write_png(path, width, height, pixel):
    rows = b"".join(b"\0" + bytes(c for x in range(width) for c in pixel(x, y))
                    for y in range(height))

    def chunk(kind, data):
        return (struct.pack(">I", len(data)) + kind + data +
                struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF))

    with open(path, "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n")
        f.write(chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0)))
        f.write(chunk(b"IDAT", zlib.compress(rows)))
        f.write(chunk(b"IEND", b""))


def builtin_picture():
    """The built-in picture as decoded by ImageMagick: (width, height, rgb bytes)."""
    ppm = subprocess.run(["convert", os.path.join(SOURCE, "media/assets/builtin.jpg"), "-depth", "8", "ppm:-"],
                         check=True, capture_output=True).stdout
    fields = re.match(rb"P6\s+(\d+)\s+(\d+)\s+(\d+)\s", ppm)
    return int(fields.group(1)), int(fields.group(2)), ppm[fields.end():]


def difference_from_builtin(shot, left, top):
    """Mean absolute difference per channel between the screen and the built-in picture."""
    width, height, data = builtin_picture()
    total = count = 0
    for y in range(0, height, 3):
        for x in range(0, width, 3):
            i = (y * width + x) * 3
            seen = shot.pixel(left + x, top + y)
            total += sum(abs(seen[c] - data[i + c]) for c in range(3))
            count += 3
    return total / count


def cells_on_screen(shot, left, top):
    """The mean colour of each cell's square, inset from its edges."""
    return [shot.mean(left + 100 * (c % 4) + 20, top + 100 * (c // 4) + 20, 58, 58)
            for c in range(12)]


def tile_of(colour):
    """Which tile of the fixture a cell shows (11 for the black square), or None."""
    if close_to(colour, BLACK):
        return 11
    for tile in range(11):
        if close_to(colour, square_colour(tile % 4, tile // 4)):
            return tile
    return None


# ---- running a program -------------------------------------------------------

class Program:
    def __init__(self, binary):
        env = dict(os.environ, SDL_AUDIODRIVER="dummy")
        self.process = subprocess.Popen([binary], stdout=subprocess.PIPE,
                                        stderr=subprocess.DEVNULL, text=True, env=env)

    def line(self, timeout=10):
        """The next line the program prints (blocking read with a watchdog)."""
        import select
        ready, _, _ = select.select([self.process.stdout], [], [], timeout)
        return self.process.stdout.readline().strip() if ready else None

    def exit_code(self, timeout):
        try:
            return self.process.wait(timeout)
        except subprocess.TimeoutExpired:
            return None

    def stop(self):
        if self.process.poll() is None:
            self.process.kill()
            self.process.wait()


# ---- the tests -----------------------------------------------------------------

class WindowProbeTest(unittest.TestCase):
    """The real window layer: placement, views, events, pushing pixels at once."""

    def setUp(self):
        self.program = Program(PROBE)
        self.assertEqual(self.program.line(), "READY")
        self.window = find_window(MAIN_TITLE)
        self.assertIsNotNone(self.window)
        self.left, self.top, width, height = client_geometry(self.window)
        self.size = (width, height)

    def tearDown(self):
        self.program.stop()

    def cell_centre(self, cell):
        return self.left + 100 * (cell % 4) + 49, self.top + 100 * (cell // 4) + 49

    def test_window_placement_and_events(self):
        self.assertEqual(self.size, (400, 320))
        left, right, top, bottom = frame_extents(self.window)
        outer_width, outer_height = 400 + left + right, 320 + top + bottom
        self.assertLessEqual(abs(self.left - left - (1280 - outer_width) // 2), 1)
        self.assertLessEqual(abs(self.top - top - (1024 - outer_height) // 2), 1)

        # A click on a cell: reported, and the cell is black on screen while the
        # program takes no event.
        x, y = self.cell_centre(5)
        self.assertTrue(close_to(Shot().pixel(x, y), (128, 128, 128)), Shot().pixel(x, y))
        click(x, y)
        self.assertEqual(self.program.line(), "VIEW_CLICK 5")
        self.assertTrue(close_to(Shot().pixel(x, y), BLACK))

        click(self.left + 98, self.top + 50)  # the gap between cells 0 and 1
        click(self.left + 200, self.top + 310)  # the status line
        key("ctrl+p")
        self.assertEqual(self.program.line(), "SHORTCUT 13")

        click(*self.cell_centre(2), button=3)
        self.assertEqual(self.program.line(), "VIEW_CLICK 2")
        click(*self.cell_centre(7), repeat=2)
        self.assertEqual(self.program.line(), "VIEW_CLICK 7")
        self.assertEqual(self.program.line(), "VIEW_CLICK 7")

        key("alt+F4")  # the window manager's close command
        self.assertEqual(self.program.line(), "CLOSE_REQUEST 0")
        self.assertIsNotNone(find_window(MAIN_TITLE, timeout=1))

        key("Escape")
        self.assertEqual(self.program.line(), "SHORTCUT 14")
        self.assertEqual(self.program.exit_code(5), 0)


class GameTest(unittest.TestCase):
    """The real game, played like a person."""

    def setUp(self):
        self.folder = tempfile.TemporaryDirectory()
        self.picture = os.path.join(self.folder.name, "PHOTO.PNG")
        write_png(self.picture, 400, 300, fixture_pixel)
        self.game = Program(GAME)
        self.window = find_window(MAIN_TITLE)
        self.assertIsNotNone(self.window)

    def tearDown(self):
        self.game.stop()
        self.folder.cleanup()

    def client(self):
        return client_geometry(self.window)

    def wait_for_demonstration(self):
        """Screenshots until the whole built-in picture stays: returns whether a
        jumbled board was seen on the way."""
        left, top, _, _ = self.client()
        jumbled_seen = False
        deadline = time.monotonic() + 15
        settled = 0
        while time.monotonic() < deadline and settled < 3:
            difference = difference_from_builtin(Shot(), left, top)
            if difference > 8:
                jumbled_seen, settled = True, 0
            else:
                settled += 1
            time.sleep(0.1)
        self.assertEqual(settled, 3, "the whole built-in picture did not come back")
        return jumbled_seen

    def choose_fixture(self):
        left, top, _, _ = self.client()
        click(left + 200, top + 150)
        chooser = find_window("Choose a picture")
        self.assertIsNotNone(chooser)
        key("ctrl+l")
        time.sleep(0.3)
        xdotool("type", "--delay", 10, self.picture)
        key("Return")
        self.assertIsNotNone(find_window("Puzzle Time"))
        key("Return")
        self.assertTrue(window_gone("Puzzle Time", 5))

    def board_on_screen(self):
        left, top, width, height = self.client()
        self.assertEqual((width, height), (400, 320))
        return [tile_of(c) for c in cells_on_screen(Shot(), left, top)]

    def settled_board(self, timeout=5):
        """The board once the scramble is over: every cell a tile, twice the same."""
        previous = None
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline:
            board = self.board_on_screen()
            if None not in board and board == previous:
                return board
            previous = board
            time.sleep(0.2)
        return None

    def test_demonstration_then_play_peek_and_give_up(self):
        self.assertTrue(self.wait_for_demonstration(), "no jumbled board was seen")
        left, top, width, height = self.client()
        self.assertEqual((width, height), (400, 300))
        self.assertLess(difference_from_builtin(Shot(), left, top), 4)

        self.choose_fixture()
        board = self.settled_board()
        self.assertIsNotNone(board, "the board does not show the fixture's tiles")
        self.assertEqual(sorted(board), list(range(12)))

        # Slide the tile above or below the blank into it.
        blank = board.index(11)
        mover = blank - 4 if blank >= 4 else blank + 4
        left, top, _, _ = self.client()
        click(left + 100 * (mover % 4) + 49, top + 100 * (mover // 4) + 49)
        moved = wait_for(lambda: (lambda b: b if b[mover] == 11 else None)(self.board_on_screen()), 2)
        self.assertIsNotNone(moved, "the move did not reach the screen")
        self.assertEqual(moved[blank], board[mover])

        # A look at the whole picture: the square no tile carries shows.
        key("ctrl+p")
        uncut = lambda: close_to(Shot().mean(left + 320, top + 220, 58, 58), UNCUT)
        self.assertTrue(wait_for(uncut, 1.5))
        self.assertTrue(wait_for(lambda: self.board_on_screen() == moved, 4))

        key("Escape")
        self.assertIsNotNone(find_window("Goodbye"))
        key("Return")
        farewell = wait_for(lambda: self.farewell_window(), 5)
        self.assertIsNotNone(farewell, "no farewell window")
        x, y, width, height = client_geometry(farewell)
        self.assertEqual((width, height), (360, 295))
        self.assertEqual((x, y), ((1280 - 360) // 2, (1024 - 295) // 2))
        key("Return")
        self.assertEqual(self.game.exit_code(2), 0)

    def farewell_window(self):
        for window in xdotool("search", "--onlyvisible", "--pid",
                              self.game.process.pid, "--name", ".*").split():
            if client_geometry(window)[2:] == (360, 295):
                return window
        return None

    def test_farewell_ends_by_itself_after_thirty_seconds(self):
        self.wait_for_demonstration()
        self.choose_fixture()
        self.assertIsNotNone(self.settled_board())
        key("Escape")
        self.assertIsNotNone(find_window("Goodbye"))
        key("Return")
        self.assertIsNotNone(wait_for(lambda: self.farewell_window(), 5, interval=0.01))
        opened = time.monotonic()
        self.assertEqual(self.game.exit_code(40), 0)
        lasted = time.monotonic() - opened
        self.assertGreaterEqual(lasted, 29.9)
        self.assertLessEqual(lasted, 30.4)

    def test_close_box_before_the_first_click_ends_silently(self):
        self.wait_for_demonstration()
        key("alt+F4")
        self.assertEqual(self.game.exit_code(5), 0)


if __name__ == "__main__":
    unittest.main(argv=[sys.argv[0], "-v", *sys.argv[1:]])
