"""A private X server, the real program on it, and what a person at that screen can do and see.

Everything here goes through the X server only: windows are found, measured and photographed the
way a window manager or a screenshot tool would, and input arrives through XTEST (xdotool), so the
program cannot tell these sessions from a person at a keyboard and mouse.
"""

import atexit
import ctypes
import ctypes.util
import operator
import os
import select
import shutil
import subprocess
import tempfile
import time

WINDOW_TITLE = "Quendravo Problem"
SCREEN = (1024, 768)

# Client geometry of the controls, as the window lays them out.
IMAGE1 = (317, 21, 137, 209)
IMAGE2 = (479, 21, 137, 209)
IMAGE3 = (317, 242, 137, 209)
IMAGE4 = (479, 242, 137, 209)
BUTTON2 = (31, 15, 215, 39)  # Stapel 1 mischen
BUTTON3 = (31, 73, 215, 40)  # Stapel 2 mischen
BUTTON4 = (31, 132, 215, 39)  # Stapel 1 aufblättern
BUTTON5 = (31, 190, 215, 40)  # Stapel 2 aufblättern
BUTTON1 = (31, 249, 215, 39)  # Beide Stapel aufblättern
SCROLLBAR1 = (41, 320, 16, 150)
# The count label grows to the right of its left edge; this band holds any count up to 32.
COUNT_BAND = (462, 460, 100, 30)

CARD_NAMES = [
    f"{suit}_{rank}"
    for suit in ("herz", "karo", "kreuz", "sch")
    for rank in ("koenig", "dame", "ass", "zehn", "neun", "acht", "sieben", "bube")
]
PILE_NAMES = ["stapel1", "stapel2", "stapel3", "leer1"]


class TimeoutError_(AssertionError):
    pass


def poll(condition, timeout, what, interval=0.05):
    """The first true value of condition() within timeout seconds; else fails, naming what."""
    deadline = time.monotonic() + timeout
    while True:
        value = condition()
        if value:
            return value
        if time.monotonic() > deadline:
            raise TimeoutError_(f"timed out after {timeout:.1f} s waiting for {what}")
        time.sleep(interval)


class Image:
    """An RGB picture, 8 bits per channel, rows top to bottom."""

    def __init__(self, width, height, data):
        self.width, self.height, self.data = width, height, data

    @staticmethod
    def from_ppm(raw):
        # P6 header: magic, width, height, maxval, each separated by whitespace (no comments from
        # ImageMagick), then one whitespace byte and the samples.
        fields, pos = [], 0
        while len(fields) < 4:
            while raw[pos : pos + 1].isspace():
                pos += 1
            start = pos
            while not raw[pos : pos + 1].isspace():
                pos += 1
            fields.append(raw[start:pos])
        if fields[0] != b"P6" or int(fields[3]) != 255:
            raise ValueError("expected an 8-bit binary PPM")
        width, height = int(fields[1]), int(fields[2])
        data = raw[pos + 1 : pos + 1 + width * height * 3]
        if len(data) != width * height * 3:
            raise ValueError("truncated PPM")
        return Image(width, height, data)

    def crop(self, rect):
        x, y, w, h = rect
        if x < 0 or y < 0 or x + w > self.width or y + h > self.height:
            raise ValueError(f"{rect} lies outside a {self.width}x{self.height} picture")
        rows = [
            self.data[((y + row) * self.width + x) * 3 : ((y + row) * self.width + x + w) * 3]
            for row in range(h)
        ]
        return Image(w, h, b"".join(rows))

    def pixels(self):
        d = self.data
        return zip(d[0::3], d[1::3], d[2::3])

    def mean(self):
        n = self.width * self.height
        return tuple(sum(self.data[c::3]) / n for c in range(3))

    def rows(self, step):
        stride = self.width * 3
        rows = range(0, self.height, step)
        return b"".join(self.data[y * stride : (y + 1) * stride] for y in rows)

    def mean_abs_diff(self, other, row_step=1):
        """Mean absolute difference per sample, 0 (equal) to 1 (black against white), over every
        row_step-th row."""
        if (self.width, self.height) != (other.width, other.height):
            raise ValueError("sizes differ")
        if row_step == 1:
            a, b = self.data, other.data
        else:
            a, b = self.rows(row_step), other.rows(row_step)
        return sum(map(abs, map(operator.sub, a, b))) / (255 * len(a))

    def fraction(self, predicate):
        n = self.width * self.height
        return sum(1 for p in self.pixels() if predicate(p)) / n

    def ink_columns(self, background, threshold=60):
        """Columns that hold a pixel far from background: the horizontal extent of what is drawn."""
        columns = []
        for x in range(self.width):
            for y in range(self.height):
                i = (y * self.width + x) * 3
                if sum(abs(self.data[i + c] - background[c]) for c in range(3)) > threshold:
                    columns.append(x)
                    break
        return columns

    def save(self, path):
        with open(path, "wb") as f:
            f.write(b"P6\n%d %d\n255\n" % (self.width, self.height) + self.data)


def load_picture(path, size):
    """A picture file as the window shows it in a box of the given size: stretched to fill it."""
    raw = subprocess.run(
        ["convert", path, "-resize", f"{size[0]}x{size[1]}!", "-depth", "8", "ppm:-"],
        check=True,
        capture_output=True,
    ).stdout
    return Image.from_ppm(raw)


class References:
    """Every picture of the set as a 137 x 209 box shows it, to tell which one a box shows."""

    def __init__(self, picture_dir):
        self.pictures = {
            name: load_picture(os.path.join(picture_dir, name + ".jpg"), IMAGE1[2:])
            for name in CARD_NAMES + PILE_NAMES
        }

    def closest(self, region):
        """(name, difference, runner-up difference) of the picture nearest to what region shows.
        Every fourth row tells the pictures of the set apart well enough, at a quarter the cost."""
        scored = sorted((region.mean_abs_diff(p, 4), n) for n, p in self.pictures.items())
        return scored[0][1], scored[0][0], scored[1][0]

    def shows(self, region, name, tolerance=0.04):
        return region.mean_abs_diff(self.pictures[name]) < tolerance


# --- Xlib through ctypes: only for the one request no command-line tool sends ---------------------


class _XClientMessageEvent(ctypes.Structure):
    _fields_ = [
        ("type", ctypes.c_int),
        ("serial", ctypes.c_ulong),
        ("send_event", ctypes.c_int),
        ("display", ctypes.c_void_p),
        ("window", ctypes.c_ulong),
        ("message_type", ctypes.c_ulong),
        ("format", ctypes.c_int),
        ("data", ctypes.c_long * 5),
    ]


class _XEvent(ctypes.Union):
    _fields_ = [("xclient", _XClientMessageEvent), ("pad", ctypes.c_long * 24)]


_ClientMessage = 33
_NoEventMask = 0


def _xlib():
    lib = ctypes.cdll.LoadLibrary(ctypes.util.find_library("X11") or "libX11.so.6")
    lib.XOpenDisplay.restype = ctypes.c_void_p
    lib.XOpenDisplay.argtypes = [ctypes.c_char_p]
    lib.XInternAtom.restype = ctypes.c_ulong
    lib.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
    lib.XSendEvent.argtypes = [
        ctypes.c_void_p,
        ctypes.c_ulong,
        ctypes.c_int,
        ctypes.c_long,
        ctypes.POINTER(_XEvent),
    ]
    lib.XFlush.argtypes = [ctypes.c_void_p]
    lib.XCloseDisplay.argtypes = [ctypes.c_void_p]
    return lib


def send_wm_delete(display, window):
    """What a window manager sends when the user clicks a window's close button: a WM_PROTOCOLS
    ClientMessage carrying WM_DELETE_WINDOW (ICCCM 4.2.8.1). xdotool's windowclose destroys the
    window and windowkill drops the connection; neither is a close request."""
    lib = _xlib()
    dpy = lib.XOpenDisplay(display.encode())
    if not dpy:
        raise RuntimeError(f"cannot open display {display}")
    try:
        event = _XEvent()
        event.xclient.type = _ClientMessage
        event.xclient.window = window
        event.xclient.message_type = lib.XInternAtom(dpy, b"WM_PROTOCOLS", 0)
        event.xclient.format = 32
        event.xclient.data[0] = lib.XInternAtom(dpy, b"WM_DELETE_WINDOW", 0)
        event.xclient.data[1] = 0  # CurrentTime
        if not lib.XSendEvent(dpy, window, 0, _NoEventMask, ctypes.byref(event)):
            raise RuntimeError("XSendEvent failed")
        lib.XFlush(dpy)
    finally:
        lib.XCloseDisplay(dpy)


# --- the server and the program ------------------------------------------------------------------


class XServer:
    """An Xvfb of our own, on whichever display number is free (it picks and tells us)."""

    def __init__(self, size=SCREEN):
        read_end, write_end = os.pipe()
        self.process = subprocess.Popen(
            [
                "Xvfb",
                "-displayfd",
                str(write_end),
                "-screen",
                "0",
                f"{size[0]}x{size[1]}x24",
                "-nolisten",
                "tcp",
                "-noreset",
            ],
            pass_fds=(write_end,),
            stdout=subprocess.DEVNULL,
            stderr=subprocess.DEVNULL,
        )
        os.close(write_end)
        # A test that dies on an exception must not leave its server behind.
        atexit.register(self.close)
        number = b""
        deadline = time.monotonic() + 15
        while not number.endswith(b"\n"):
            remaining = deadline - time.monotonic()
            if remaining <= 0 or not select.select([read_end], [], [], remaining)[0]:
                self.process.kill()
                raise RuntimeError("Xvfb did not report its display")
            chunk = os.read(read_end, 16)
            if not chunk:
                raise RuntimeError("Xvfb ended before it reported its display")
            number += chunk
        os.close(read_end)
        self.display = ":" + number.decode().strip()
        self.env = dict(os.environ, DISPLAY=self.display)
        for name in ("QT_QPA_PLATFORM", "WAYLAND_DISPLAY", "XAUTHORITY"):
            self.env.pop(name, None)
        # A session of its own, as a desktop would give: Qt wants a private runtime folder.
        self.runtime_dir = tempfile.mkdtemp(prefix="quendravo-xdg-")
        self.env["XDG_RUNTIME_DIR"] = self.runtime_dir

    def run(self, *args, check=True):
        return subprocess.run(
            list(args), env=self.env, check=check, capture_output=True, text=True, timeout=30
        )

    def screenshot(self, rect=None):
        """What the screen shows, or the part of it in rect (x, y, w, h). Always taken from the
        root: `import -window ID` can hang on a window that goes away while it reads."""
        crop = []
        if rect:
            crop = ["-crop", "%dx%d+%d+%d" % (rect[2], rect[3], rect[0], rect[1]), "+repage"]
        raw = subprocess.run(
            ["import", "-window", "root"] + crop + ["-depth", "8", "ppm:-"],
            env=self.env,
            check=True,
            capture_output=True,
            timeout=10,
        ).stdout
        return Image.from_ppm(raw)

    def windows(self, name):
        """Viewable top-level windows whose title is exactly name."""
        result = self.run("xdotool", "search", "--onlyvisible", "--name", f"^{name}$", check=False)
        return [int(w) for w in result.stdout.split()]

    def top_level_titles(self):
        """Titles of the viewable windows the root holds, the way a window list shows them."""
        tree = self.run("xwininfo", "-root", "-children").stdout
        titles = []
        for line in tree.splitlines():
            line = line.strip()
            if not line.startswith("0x"):
                continue
            window = line.split()[0]
            info = self.run("xwininfo", "-id", window, check=False).stdout
            if "IsViewable" in info and '"' in line:
                titles.append(line.split('"')[1])
        return titles

    def geometry(self, window):
        info = self.run("xwininfo", "-id", str(window)).stdout
        values = {}
        for line in info.splitlines():
            key, _, value = line.strip().partition(":")
            values[key] = value.strip()
        return (
            int(values["Absolute upper-left X"]),
            int(values["Absolute upper-left Y"]),
            int(values["Width"]),
            int(values["Height"]),
        )

    def keys(self, *keys):
        self.run("xdotool", "key", "--delay", "40", *keys)

    def click(self, x, y, button=1):
        self.run("xdotool", "mousemove", "--sync", str(x), str(y), "click", str(button))

    def close(self):
        if self.process.poll() is None:
            self.process.terminate()
            try:
                self.process.wait(10)
            except subprocess.TimeoutExpired:
                self.process.kill()
                self.process.wait()
        if getattr(self, "runtime_dir", None):
            shutil.rmtree(self.runtime_dir, ignore_errors=True)


class Program:
    """The program started the way a user starts it: from a folder that holds the picture set."""

    def __init__(self, server, command, cwd=None, picture_dir=None, log_dir=None):
        self.server = server
        self.own_dir = None
        if cwd is None:
            self.own_dir = tempfile.mkdtemp(prefix="quendravo-e2e-")
            cwd = self.own_dir
            if picture_dir:
                shutil.copytree(picture_dir, os.path.join(cwd, "Tamselspiel"))
        self.cwd = cwd
        self.log_path = os.path.join(log_dir or cwd, "program.log")
        self.log = open(self.log_path, "wb")
        command = [os.path.abspath(command[0])] + list(command[1:])
        self.process = subprocess.Popen(
            command, cwd=cwd, env=server.env, stdout=self.log, stderr=subprocess.STDOUT
        )
        self.window = None
        atexit.register(self.stop)

    def wait_for_window(self, timeout=20):
        def found():
            if self.process.poll() is not None:
                raise AssertionError(f"the program ended with {self.process.returncode} at start")
            windows = self.server.windows(WINDOW_TITLE)
            return windows[0] if len(windows) == 1 else None

        self.window = poll(found, timeout, "the main window to be mapped", interval=0.1)
        # Without a window manager nothing moves the window, so this stays its place.
        self.geometry = self.server.geometry(self.window)
        return self.window

    def origin(self):
        x, y, _, _ = self.server.geometry(self.window)
        return x, y

    def client_image(self):
        return self.server.screenshot(self.geometry)

    def click_control(self, rect):
        x, y = self.origin()
        self.server.click(x + rect[0] + rect[2] // 2, y + rect[1] + rect[3] // 2)

    def alive(self):
        return self.process.poll() is None

    def rss_kib(self):
        with open(f"/proc/{self.process.pid}/status") as status:
            for line in status:
                if line.startswith("VmRSS:"):
                    return int(line.split()[1])
        return None

    def request_close(self):
        send_wm_delete(self.server.display, self.window)

    def wait_for_exit(self, timeout):
        try:
            return self.process.wait(timeout)
        except subprocess.TimeoutExpired:
            raise AssertionError(f"the program did not end within {timeout} s") from None

    def stop(self):
        if self.process.poll() is None:
            self.process.kill()
            self.process.wait()
        if not self.log.closed:
            self.log.close()
        if self.own_dir:
            shutil.rmtree(self.own_dir, ignore_errors=True)

    def log_text(self):
        self.log.flush()
        with open(self.log_path, "rb") as f:
            return f.read().decode(errors="replace")
