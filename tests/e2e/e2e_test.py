#!/usr/bin/env python3
"""End-to-end test of the real tool under Xvfb in a sandbox game install of 19 movies, driven
with xdotool like a player would; waits guard only against a hang. Environment: TV_EXE (the
tool), TV_PLACEHOLDER (vh-tvm3.dat), TV_WINE_STATE (the wine-env state folder), TV_WINDOW_NAME
(text in its title)."""
import os
import pathlib
import shutil
import subprocess
import sys
import tempfile
import time
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "tools"))
import wine_env  # noqa: E402

EXE = os.environ.get("TV_EXE", "")
PLACEHOLDER = os.environ.get("TV_PLACEHOLDER", "")
STATE = os.environ.get("TV_WINE_STATE", "")
WINDOW_NAME = os.environ.get("TV_WINDOW_NAME", "VARNHOLT")
APP_TITLE = "VH - Torv3 No Intros"
INTEL = [f"intel_{lang}.bik" for lang in "efg"]
MOVIES = INTEL + ["nVid.bik"] + [f"Intr_{name}_{lang}.bik"
                                 for name in ("dtm", "torv", "v8") for lang in "efgis"]
APPLY = (659, 336)  # the button's client position
ENV = wine_env.environment(STATE) if STATE else dict(os.environ)


def run(*command, check=True):
    return subprocess.run(command, env=ENV, capture_output=True, text=True, check=check, timeout=60)


def wait_for(predicate, what, seconds=30.0):
    deadline = time.monotonic() + seconds
    while not (value := predicate()):
        if time.monotonic() > deadline:
            raise AssertionError(f"timed out waiting for {what}")
        time.sleep(0.05)
    return value


def windows_named(name):
    return run("xdotool", "search", "--onlyvisible", "--name", name, check=False).stdout.split()


def wine(*arguments, check=True):
    """Runs a Windows command without pipes: Wine's services, started by whichever Wine
    process comes first, inherit its stdio and would keep a pipe open forever."""
    subprocess.run([wine_env.WINE, *arguments], env=ENV, stdin=subprocess.DEVNULL, check=check,
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=120)


class ToolEndToEnd(unittest.TestCase):
    def setUp(self):
        if not (EXE and PLACEHOLDER and STATE):
            raise AssertionError("set TV_EXE, TV_PLACEHOLDER and TV_WINE_STATE")
        self.work = tempfile.mkdtemp(prefix="tv-e2e-")
        self.video = os.path.join(self.work, "game", "video")
        program = os.path.join(self.work, "program")
        os.makedirs(self.video)
        os.makedirs(program)
        exe = shutil.copy(EXE, program)
        shutil.copy(PLACEHOLDER, os.path.join(program, "vh-tvm3.dat"))
        for movie in MOVIES:
            pathlib.Path(self.video, movie).write_bytes(b"original " + movie.encode())
        game = "Z:" + os.path.dirname(self.video).replace("/", "\\")
        wine("reg", "add", r"HKLM\SOFTWARE\Brightlane\Velomar 3", "/v", "PATH_VIDEO",
             "/t", "REG_SZ", "/d", game, "/f", "/reg:32")
        self.process = subprocess.Popen([wine_env.WINE, exe], env=ENV, cwd=program,
                                        stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                                        stderr=subprocess.DEVNULL)
        self.window = wait_for(lambda: (windows_named(WINDOW_NAME) or [None])[0], "the window")
        wait_for(lambda: self.opacity() == 240 * 0xFFFFFFFF // 255, "the fade-in to reach 240")

    def tearDown(self):
        if self.process.poll() is None:
            self.process.kill()
            self.process.wait()
        for name in (WINDOW_NAME, APP_TITLE):
            run("xdotool", "search", "--name", name, "windowkill", check=False)
        wine("reg", "delete", r"HKLM\SOFTWARE\Brightlane\Velomar 3", "/f", "/reg:32", check=False)
        shutil.rmtree(self.work, ignore_errors=True)

    def opacity(self):
        out = run("xprop", "-id", self.window, "_NET_WM_WINDOW_OPACITY", check=False).stdout
        value = out.rsplit("=", 1)[-1].strip()
        return int(value) if value.isdigit() else None

    def answer_box(self, key):
        box = wait_for(lambda: (windows_named(APP_TITLE) or [None])[0], "a message box")
        run("xdotool", "windowactivate", "--sync", box, check=False)
        run("xdotool", "key", "--window", box, key)
        wait_for(lambda: box not in windows_named(APP_TITLE), "the message box to close")

    def movies(self):
        return {m: pathlib.Path(self.video, m).read_bytes() for m in MOVIES}

    def test_apply_by_mouse_refused_then_by_keyboard_with_a_group_unticked(self):
        out = run("xdotool", "getwindowgeometry", "--shell", self.window).stdout
        values = dict(line.split("=", 1) for line in out.split())
        x, y, width, height = (int(values[key]) for key in ("X", "Y", "WIDTH", "HEIGHT"))
        self.assertEqual((718, 406), (width, height))
        before = self.movies()
        run("xdotool", "mousemove", str(x + APPLY[0]), str(y + APPLY[1]), "click", "1")
        self.answer_box("n")
        self.assertEqual(before, self.movies())
        self.assertIsNone(self.process.poll(), "a No keeps the tool running")
        run("xdotool", "windowactivate", "--sync", self.window, check=False)
        run("xdotool", "windowfocus", "--sync", self.window, check=False)
        # Tab reaches the first group (Pentium X), Space unticks it, three Tabs reach APPLY.
        for key in ("Tab", "space", "Tab", "Tab", "Tab", "Return"):
            run("xdotool", "key", "--window", self.window, "--delay", "100", key)
        self.answer_box("y")
        self.answer_box("Return")  # "Done!"
        wait_for(lambda: self.process.poll() is not None, "the tool to end")
        placeholder = pathlib.Path(PLACEHOLDER).read_bytes()
        self.assertEqual({m: before[m] if m in INTEL else placeholder for m in MOVIES},
                         self.movies())
        self.assertEqual(sorted(MOVIES), sorted(os.listdir(self.video)))


if __name__ == "__main__":
    unittest.main(verbosity=2)
