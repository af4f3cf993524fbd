#!/usr/bin/env python3
"""End-to-end tests of the real tool under Xvfb, driven with xdotool like a player would.

Each test copies the tool into a fresh sandbox folder of the test prefix (with or without
the info file), registers a sandbox game install with 19 sample movies, starts the tool and
works it through X: shape, fade, hints, pages, drag, APPLY and Escape.

Environment: TV_EXE (the tool), TV_PLACEHOLDER (vh-tvm3.dat), TV_WINE_STATE (the wine-env
state folder whose prefix and display to use), TV_WINDOW_NAME (a part of the window title).
"""
import os
import shutil
import subprocess
import tempfile
import time
import sys
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "tools"))
import wine_env  # noqa: E402
from wine_env import WINE  # noqa: E402

EXE = os.environ.get("TV_EXE", "")
PLACEHOLDER = os.environ.get("TV_PLACEHOLDER", "")
STATE = os.environ.get("TV_WINE_STATE", "")
WINDOW_NAME = os.environ.get("TV_WINDOW_NAME", "VARNHOLT")
APP_TITLE = "VH - Torv3 No Intros"
MOVIES = (["intel_e.bik", "intel_f.bik", "intel_g.bik", "nVid.bik"] +
          [f"Intr_{series}_{lang}.bik" for series in ("dtm", "torv", "v8")
           for lang in "efgis"])
OPACITY_240 = 240 * 0xFFFFFFFF // 255

# Client positions of the window's parts (pixels).
MENU = {"main": (34 + 20, 97 + 6), "about": (34 + 20, 113 + 6), "contact": (34 + 20, 129 + 6),
        "exit": (34 + 20, 145 + 6)}
FEATURE_AREA = (23, 243, 182, 102)
TITLE = (16 + 300, 46 + 8)
FRAME = (13 + 400, 67 + 200)
APPLY = (621 + 38, 324 + 12)


ENV = wine_env.environment(STATE) if STATE else dict(os.environ)


def run(*command, check=True):
    return subprocess.run(command, env=ENV, capture_output=True, text=True, check=check,
                          timeout=60)


def wait_for(predicate, seconds=20.0, what="a condition"):
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        value = predicate()
        if value:
            return value
        time.sleep(0.05)
    raise AssertionError(f"timed out waiting for {what}")


def windows_named(name):
    return run("xdotool", "search", "--onlyvisible", "--name", name, check=False).stdout.split()


def geometry(window):
    out = run("xdotool", "getwindowgeometry", "--shell", window).stdout
    values = dict(line.split("=", 1) for line in out.split())
    return int(values["X"]), int(values["Y"]), int(values["WIDTH"]), int(values["HEIGHT"])


def screenshot(path):
    run("import", "-window", "root", path)


def pixel(image, x, y):
    out = run("convert", image, "-format", f"%[fx:int(255*p{{{x},{y}}}.r)],"
              f"%[fx:int(255*p{{{x},{y}}}.g)],%[fx:int(255*p{{{x},{y}}}.b)]", "info:").stdout
    return tuple(int(v) for v in out.split(","))


def crop_signature(image, x, y, w, h):
    return run("convert", image, "-crop", f"{w}x{h}+{x}+{y}", "+repage", "-format", "%#",
               "info:").stdout.strip()


def wine(*arguments, check=True):
    """Runs a Windows command without pipes: Wine's services, started by whichever Wine
    process comes first, inherit its stdio and would keep a pipe open forever."""
    result = subprocess.run([WINE, *arguments], env=ENV, stdin=subprocess.DEVNULL,
                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=120)
    if check and result.returncode != 0:
        raise AssertionError(f"wine {arguments[0]} failed with {result.returncode}")


def win_path(unix_path):
    # Wine maps the whole Unix file system to drive Z:.
    return "Z:" + os.path.abspath(unix_path).replace("/", "\\")


class ToolEndToEnd(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        if not (EXE and PLACEHOLDER and STATE):
            raise AssertionError("set TV_EXE, TV_PLACEHOLDER and TV_WINE_STATE")

    def setUp(self):
        self.work = tempfile.mkdtemp(prefix="tv-e2e-")
        self.program = os.path.join(self.work, "program")
        self.video = os.path.join(self.work, "game", "video")
        os.makedirs(self.program)
        os.makedirs(self.video)
        self.exe = os.path.join(self.program, os.path.basename(EXE))
        shutil.copy(EXE, self.exe)
        shutil.copy(PLACEHOLDER, os.path.join(self.program, "vh-tvm3.dat"))
        for movie in MOVIES:
            with open(os.path.join(self.video, movie), "wb") as f:
                f.write(b"original " + movie.encode())
        wine("reg", "add", r"HKLM\SOFTWARE\Brightlane\Velomar 3", "/v", "PATH_VIDEO",
            "/t", "REG_SZ", "/d", win_path(os.path.join(self.work, "game")), "/f", "/reg:32")
        self.process = None
        self.window = None

    def tearDown(self):
        if self.process and self.process.poll() is None:
            self.process.kill()
            self.process.wait()
        for name in (WINDOW_NAME, APP_TITLE):
            run("xdotool", "search", "--name", name, "windowkill", check=False)
        wine("reg", "delete", r"HKLM\SOFTWARE\Brightlane\Velomar 3", "/f", "/reg:32",
             check=False)
        shutil.rmtree(self.work, ignore_errors=True)

    def start(self):
        self.process = subprocess.Popen([WINE, self.exe], env=ENV, cwd=self.program,
                                        stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                                        stderr=subprocess.DEVNULL)
        self.window = wait_for(lambda: (windows_named(WINDOW_NAME) or [None])[0], 30,
                               "the tool's window")
        wait_for(lambda: self.opacity() == OPACITY_240, 30, "the fade-in to reach 240")
        time.sleep(0.3)
        self.origin = geometry(self.window)[:2]

    def opacity(self):
        out = run("xprop", "-id", self.window, "_NET_WM_WINDOW_OPACITY", check=False).stdout
        try:
            return int(out.rsplit("=", 1)[1])
        except (IndexError, ValueError):
            return None

    def at(self, point):
        return self.origin[0] + point[0], self.origin[1] + point[1]

    def move(self, point):
        x, y = self.at(point)
        run("xdotool", "mousemove", str(x), str(y))
        time.sleep(0.25)

    def click(self, point):
        self.move(point)
        run("xdotool", "click", "1")
        time.sleep(0.3)

    def shot(self, name):
        path = os.path.join(self.work, name + ".png")
        screenshot(path)
        return path

    def feature_signature(self, image):
        x, y = self.at(FEATURE_AREA[:2])
        return crop_signature(image, x, y, *FEATURE_AREA[2:])

    def movies(self):
        return {m: open(os.path.join(self.video, m), "rb").read() for m in MOVIES}

    def answer_box(self, key):
        box = wait_for(lambda: (windows_named(APP_TITLE) or [None])[0], 20, "a message box")
        run("xdotool", "windowactivate", "--sync", box, check=False)
        run("xdotool", "key", "--window", box, key)
        time.sleep(0.3)

    def test_window_is_shaped_and_fades_in_to_240(self):
        self.start()
        self.assertEqual(OPACITY_240, self.opacity())
        x, y, width, height = geometry(self.window)
        self.assertEqual((718, 406), (width, height))
        image = self.shot("shape")
        # Outside the rounded outline the desktop (black under Xvfb) shows; inside, the skin.
        self.assertEqual((0, 0, 0), pixel(image, x + 1, y + 1))
        self.assertEqual((0, 0, 0), pixel(image, x + width - 2, y + height - 2))
        self.assertNotEqual((0, 0, 0), pixel(image, x + 30, y + 30))
        self.assertNotEqual((255, 0, 255), pixel(image, x + 30, y + 30))

    def wait_feature(self, name, look, same):
        """Waits until the text area looks like `look` (same=True) or unlike it."""
        return wait_for(lambda: (self.feature_signature(self.shot(name)) == look) == same, 5,
                        f"the text area at '{name}'")

    def test_hints_follow_the_pointer_and_pages_follow_clicks(self):
        self.start()
        self.move(FRAME)
        welcome = self.feature_signature(self.shot("welcome"))
        self.move(MENU["exit"])
        self.wait_feature("hint-exit", welcome, same=False)
        self.move(FRAME)
        self.wait_feature("welcome-again", welcome, same=True)
        self.click(MENU["contact"])
        self.move(FRAME)
        self.wait_feature("contact", welcome, same=False)
        self.click(MENU["main"])
        self.move(FRAME)
        self.wait_feature("main-again", welcome, same=True)

    def test_dragging_the_title_moves_the_window(self):
        self.start()
        x, y = self.at(TITLE)
        run("xdotool", "mousemove", str(x), str(y), "mousedown", "1")
        time.sleep(0.2)
        run("xdotool", "mousemove", str(x + 60), str(y + 40))
        time.sleep(0.2)
        run("xdotool", "mousemove", str(x + 80), str(y + 50))
        time.sleep(0.2)
        run("xdotool", "mouseup", "1")
        time.sleep(0.4)
        moved = geometry(self.window)[:2]
        self.assertEqual((self.origin[0] + 80, self.origin[1] + 50), moved)

    def test_apply_answered_no_changes_nothing(self):
        self.start()
        before = self.movies()
        self.click(APPLY)
        self.answer_box("n")
        time.sleep(0.5)
        self.assertEqual(before, self.movies())
        self.assertIsNone(self.process.poll(), "the tool keeps running")
        self.assertTrue(windows_named(WINDOW_NAME))

    def test_apply_answered_yes_replaces_the_movies_and_ends(self):
        self.start()
        placeholder = open(PLACEHOLDER, "rb").read()
        self.click(APPLY)
        self.answer_box("y")
        self.answer_box("Return")  # "Done!"
        wait_for(lambda: self.process.poll() is not None, 30, "the tool to end")
        self.assertEqual({m: placeholder for m in MOVIES}, self.movies())
        self.assertEqual(sorted(MOVIES), sorted(os.listdir(self.video)))

    def test_escape_ends_the_tool(self):
        self.start()
        self.click(FRAME)
        run("xdotool", "key", "Escape")
        wait_for(lambda: self.process.poll() is not None, 30, "the tool to end")


if __name__ == "__main__":
    unittest.main(verbosity=2)
