#!/usr/bin/env python3
"""The real program on a real X server, driven only from outside with real input.

    e2e.py CASE --program PATH --pictures DIR [--artifacts DIR]
    e2e.py install --build DIR --cmake PATH [--artifacts DIR]

Each case starts its own Xvfb and its own copy of the program in a folder with a copy of the
picture set. A failing case leaves its last screenshot and the program's output in --artifacts.
"""

import argparse
import os
import shutil
import subprocess
import sys
import tempfile
import time
from collections import Counter

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import xsession as xs  # noqa: E402

WINDOW_GEOMETRY = (241, 119, 653, 530)
BLANK_SLOT = (250, 242, 200)  # the pale yellow of an untouched face-up slot
RUN_TIMEOUT = 20


def is_blue(pixel):
    r, g, b = pixel
    return b > 120 and b > r + 50 and b > g + 30


class CountLabel:
    """What the count label shows, read from its pixels: the glyphs are the runs of columns that
    hold ink, so "32" gives two and any count below 10 gives one."""

    def __init__(self, image):
        band = image.crop(xs.COUNT_BAND)
        background = Counter(band.pixels()).most_common(1)[0][0]
        self.ink = [
            [
                sum(abs(band.data[(y * band.width + x) * 3 + c] - background[c]) for c in range(3))
                > 60
                for x in range(band.width)
            ]
            for y in range(band.height)
        ]
        columns = [x for x in range(band.width) if any(row[x] for row in self.ink)]
        rows = [y for y, row in enumerate(self.ink) if any(row)]
        gaps = sum(1 for a, b in zip(columns, columns[1:]) if b != a + 1)
        self.glyphs = gaps + 1 if columns else 0
        self.width = columns[-1] - columns[0] + 1 if columns else 0
        self.height = rows[-1] - rows[0] + 1 if rows else 0
        self.rows = rows

    def is_one(self):
        """A single glyph whose middle is one upright stroke and that is no "7": of the digits
        only "1" is built so. The others have two strokes or a wide bar in the middle; a "7",
        whose slant a small size can hide, is as wide as it gets at the top and narrow below."""
        if self.glyphs != 1 or self.height < 8:
            return False
        top, bottom = self.rows[0], self.rows[-1]
        top_width, bottom_width = sum(self.ink[top]), sum(self.ink[bottom])
        if top_width * 10 >= self.width * 9 and bottom_width * 10 <= self.width * 6:
            return False
        # Below the flag of the "1" and above its foot.
        middle = range(top + self.height * 4 // 10, bottom - self.height * 3 // 10 + 1)
        lefts = []
        for y in middle:
            ink = [x for x, inked in enumerate(self.ink[y]) if inked]
            if not ink or len(ink) != ink[-1] - ink[0] + 1:
                return False  # no stroke, or two
            if len(ink) > max(4, self.width * 45 // 100):
                return False  # a bar, not a stroke
            lefts.append(ink[0])
        return max(lefts) - min(lefts) <= 1

    def __str__(self):
        return f"{self.glyphs} glyph(s), {self.width} x {self.height} px"


class Session:
    """One Xvfb, one program, the references, and what to leave behind when a check fails."""

    def __init__(self, args, command=None, cwd=None):
        self.args = args
        self.server = xs.XServer()
        self.refs = xs.References(args.pictures)
        self.last_image = None
        self.program = xs.Program(
            self.server,
            command or [args.program],
            cwd=cwd,
            picture_dir=None if cwd else args.pictures,
        )
        try:
            self.program.wait_for_window()
        except BaseException:
            self.fail_artifacts("start")
            self.close()
            raise

    def shot(self):
        self.last_image = self.program.client_image()
        return self.last_image

    def slot_pictures(self, image=None):
        image = image or self.shot()
        return tuple(self.refs.closest(image.crop(r))[0] for r in (xs.IMAGE1, xs.IMAGE2))

    def wait_shows(self, rect, name, timeout=RUN_TIMEOUT, what=None):
        return xs.poll(
            lambda: self.refs.shows(self.shot().crop(rect), name),
            timeout,
            what or f"{name} in the box at {rect[:2]}",
        )

    def wait_run_end(self, timeout=RUN_TIMEOUT):
        """A two-stack run has ended when both face-up slots show the empty picture again."""

        def ended():
            # The error box has the program's name as its title.
            assert not self.server.windows("quendravo"), "an error box came up during the run"
            image = self.shot()
            return all(self.refs.shows(image.crop(r), "leer1") for r in (xs.IMAGE1, xs.IMAGE2))

        xs.poll(ended, timeout, "both face-up slots to show leer1 after the run")
        return self.last_image

    def no_error_box(self):
        titles = self.server.top_level_titles()
        assert titles == [xs.WINDOW_TITLE], f"unexpected windows on screen: {titles}"

    def fail_artifacts(self, name):
        folder = self.args.artifacts or tempfile.mkdtemp(prefix="quendravo-e2e-")
        os.makedirs(folder, exist_ok=True)
        try:
            self.server.screenshot().save(os.path.join(folder, f"{name}.screen.ppm"))
        except Exception:
            pass
        if self.last_image:
            self.last_image.save(os.path.join(folder, f"{name}.window.ppm"))
        shutil.copy(self.program.log_path, os.path.join(folder, f"{name}.program.log"))
        print(f"artifacts of {name} are in {folder}", file=sys.stderr)

    def close(self):
        self.program.stop()
        self.server.close()


def set_speed_by_keys(s, *keys):
    """From the start focus (Beide Stapel aufblättern): to the scroll bar, keys, and back."""
    s.server.keys("Tab", *keys, "shift+Tab")


# --- cases ------------------------------------------------------------------------------------


def case_window(s):
    assert s.server.geometry(s.program.window) == WINDOW_GEOMETRY, s.server.geometry(
        s.program.window
    )
    image = s.shot()
    for rect in (xs.IMAGE1, xs.IMAGE2):
        slot = image.crop(rect)
        mean = slot.mean()
        assert all(abs(m - e) < 12 for m, e in zip(mean, BLANK_SLOT)), f"slot {rect}: {mean}"
        assert slot.fraction(lambda p: max(abs(a - b) for a, b in zip(p, BLANK_SLOT)) < 20) > 0.97
    for rect in (xs.IMAGE3, xs.IMAGE4):
        pile = image.crop(rect)
        blue = pile.fraction(is_blue)
        pale = pile.fraction(lambda p: max(abs(a - b) for a, b in zip(p, BLANK_SLOT)) < 20)
        assert 0.25 < blue < 0.7 and pale > 0.2, f"pile {rect}: blue {blue:.2f}, pale {pale:.2f}"
        name, diff, _ = s.refs.closest(pile)
        assert diff > 0.06, f"pile {rect} already shows {name} before any command"
    assert CountLabel(image).glyphs == 0, "the count label shows something before any run"

    # Drag the scroll bar's thumb to the top (schnell) with the mouse, then click the button.
    x0, y0 = s.program.origin()
    bar_x = x0 + xs.SCROLLBAR1[0] + xs.SCROLLBAR1[2] // 2
    bar_mid = y0 + xs.SCROLLBAR1[1] + xs.SCROLLBAR1[3] // 2
    s.server.run("xdotool", "mousemove", "--sync", str(bar_x), str(bar_mid), "mousedown", "1")
    s.server.run("xdotool", "mousemove", "--sync", str(bar_x), str(y0 + xs.SCROLLBAR1[1] - 40))
    s.server.run("xdotool", "mouseup", "1")
    started = time.monotonic()
    s.program.click_control(xs.BUTTON1)
    image = s.wait_run_end()
    took = time.monotonic() - started
    # At 500 ms a step the run would take over half a minute: the drag reached the fast end.
    assert took < 10, f"the run took {took:.1f} s: the drag did not make it fast"
    count = CountLabel(image)
    assert count.glyphs == 2 and not count.is_one(), f"count label after an unshuffled run: {count}"
    piles = tuple(s.refs.closest(image.crop(r))[0] for r in (xs.IMAGE3, xs.IMAGE4))
    assert piles == ("stapel1", "stapel3"), f"piles after the run: {piles}"
    s.no_error_box()


def case_keyboard(s):
    set_speed_by_keys(s, "Home")
    s.server.keys("Tab", "Tab", "space")  # Stapel 1 mischen
    # The pile flickers to empty while it is shuffled and shows the full pile when done.
    s.wait_shows(xs.IMAGE3, "leer1", 5, "pile 1 to go empty while it is shuffled")
    s.wait_shows(xs.IMAGE3, "stapel1", 8, "pile 1 to show the full pile after the shuffle")
    s.server.keys("Tab", "space")  # Stapel 2 mischen
    s.wait_shows(xs.IMAGE4, "leer1", 5, "pile 2 to go empty while it is shuffled")
    s.wait_shows(xs.IMAGE4, "stapel1", 8, "pile 2 to show the full pile after the shuffle")
    s.server.keys("shift+Tab", "shift+Tab", "shift+Tab", "Return")  # Beide Stapel aufblättern
    image = s.wait_run_end()
    count = CountLabel(image)
    assert count.is_one(), f"count label after the shuffled run: {count}, expected 1"
    s.no_error_box()


def case_close_during_run(s):
    set_speed_by_keys(s, "Home", *["Down"] * 10)  # 100 ms a step: the run lasts 6.4 s
    s.server.keys("Return")
    xs.poll(lambda: s.slot_pictures()[0] in xs.CARD_NAMES, 5, "the run to show its first cards")
    s.program.request_close()
    # What the left face-up slot shows for as long as the window is there.
    seen = []
    deadline = time.monotonic() + RUN_TIMEOUT
    while s.program.alive() and time.monotonic() < deadline:
        try:
            image = s.shot()
        except subprocess.CalledProcessError:
            break  # the window went away between the check and the screenshot
        left = s.refs.closest(image.crop(xs.IMAGE1))[0]
        if not seen or seen[-1] != left:
            seen.append(left)
        if not s.server.windows(xs.WINDOW_TITLE):
            break
    code = s.program.wait_for_exit(5)
    assert code == 0, f"exit status {code} after closing during a run"
    # Sampled a few times a card; what counts is that the cards went on to the last quarter.
    cards = [n for n in seen if n in xs.CARD_NAMES]
    assert len(cards) >= 5, f"the run did not go on after the close request: saw {seen}"
    assert xs.CARD_NAMES.index(cards[-1]) >= 24, f"the window went before the run's end: {seen}"


def case_close_when_idle(s):
    started = time.monotonic()
    s.program.request_close()
    code = s.program.wait_for_exit(5)
    assert code == 0, f"exit status {code} after closing an idle window"
    print(f"closed after {time.monotonic() - started:.2f} s")


def case_keys_after_error_box(s):
    """Answering an error box must hand the keyboard back to the main window."""
    os.remove(os.path.join(s.program.cwd, "Tamselspiel", "herz_koenig.jpg"))
    # Away from both windows, so no focus follows the pointer.
    s.server.run("xdotool", "mousemove", "--sync", "5", "5")
    for attempt in ("first", "second"):
        s.server.keys("Return")  # Beide Stapel aufblättern fails at its first card
        xs.poll(lambda: s.server.windows("quendravo"), 10, f"the {attempt} error box")
        s.server.keys("Return")  # OK
        xs.poll(lambda: not s.server.windows("quendravo"), 10, f"the {attempt} box to close")
    assert s.program.alive()


def case_install(args):
    """Installs the build into a fresh prefix and starts the program as its menu entry does."""
    prefix = tempfile.mkdtemp(prefix="quendravo-prefix-")
    elsewhere = tempfile.mkdtemp(prefix="quendravo-cwd-")
    try:
        subprocess.run(
            [args.cmake, "--install", args.build, "--prefix", prefix],
            check=True,
            stdout=subprocess.DEVNULL,
        )
        desktop = os.path.join(prefix, "share/applications/quendravo.desktop")
        expected = [
            "bin/quendravo",
            "libexec/quendravo/quendravo",
            "share/quendravo/Tamselspiel/leer1.jpg",
            "share/quendravo/Tamselspiel/herz_koenig.jpg",
            "share/icons/hicolor/scalable/apps/quendravo.svg",
            "share/applications/quendravo.desktop",
        ]
        for path in expected:
            assert os.path.isfile(os.path.join(prefix, path)), f"not installed: {path}"
        assert os.access(os.path.join(prefix, "bin/quendravo"), os.X_OK)
        pictures = os.listdir(os.path.join(prefix, "share/quendravo/Tamselspiel"))
        assert len([p for p in pictures if p.endswith(".jpg")]) == 36, pictures
        if shutil.which("rsvg-convert"):
            for size in (16, 22, 24, 32, 48, 64, 128, 256):
                png = os.path.join(prefix, f"share/icons/hicolor/{size}x{size}/apps/quendravo.png")
                with open(png, "rb") as f:
                    head = f.read(24)
                assert head[:8] == b"\x89PNG\r\n\x1a\n", png
                width = int.from_bytes(head[16:20], "big")
                height = int.from_bytes(head[20:24], "big")
                assert (width, height) == (size, size), f"{png} is {width}x{height}"

        check = subprocess.run(
            ["desktop-file-validate", desktop], capture_output=True, text=True
        )
        complaints = [l for l in check.stdout.splitlines() if ": error:" in l or ": warning:" in l]
        assert check.returncode == 0 and not complaints, check.stdout + check.stderr
        with open(desktop, encoding="utf-8") as f:
            entry = dict(line.rstrip("\n").split("=", 1) for line in f if "=" in line)
        assert entry["Exec"] == "quendravo" and entry["Icon"] == "quendravo", entry

        # Started from an unrelated folder and through a symbolic link, as PATH or a menu might.
        link = os.path.join(elsewhere, "quendravo")
        os.symlink(os.path.join(prefix, "bin/quendravo"), link)
        args.pictures = os.path.join(prefix, "share/quendravo/Tamselspiel")
        s = Session(args, command=[link], cwd=elsewhere)
        try:
            set_speed_by_keys(s, "Home")
            s.server.keys("Return")
            s.wait_run_end()
            count = CountLabel(s.last_image)
            assert count.glyphs == 2, f"count label after an unshuffled run: {count}"
            s.no_error_box()
            s.program.request_close()
            assert s.program.wait_for_exit(5) == 0
        except BaseException:
            s.fail_artifacts("install")
            raise
        finally:
            s.close()
    finally:
        shutil.rmtree(prefix, ignore_errors=True)
        shutil.rmtree(elsewhere, ignore_errors=True)


CASES = {
    "window": case_window,
    "keyboard": case_keyboard,
    "close-during-run": case_close_during_run,
    "close-when-idle": case_close_when_idle,
    "keys-after-error-box": case_keys_after_error_box,
}


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("case", choices=sorted(CASES) + ["install", "all"])
    parser.add_argument("--program")
    parser.add_argument("--pictures")
    parser.add_argument("--build")
    parser.add_argument("--cmake", default="cmake")
    parser.add_argument("--artifacts")
    args = parser.parse_args()

    started = time.monotonic()
    if args.case == "install":
        case_install(args)
    else:
        for name in sorted(CASES) if args.case == "all" else [args.case]:
            s = Session(args)
            try:
                CASES[name](s)
            except BaseException:
                s.fail_artifacts(name)
                raise
            finally:
                s.close()
            print(f"{name}: passed")
    print(f"{args.case}: passed in {time.monotonic() - started:.1f} s")


if __name__ == "__main__":
    main()
