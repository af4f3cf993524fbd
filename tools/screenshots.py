#!/usr/bin/env python3
"""Takes the README's screenshots of the real tool under the test display: the Main Page,
the About and Contact pages and the hovered APPLY button.

usage: tools/screenshots.py [BUILD_DIR] [OUT_DIR]   (defaults: build/win64, docs/)
"""
import os
import subprocess
import sys

root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
build = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else os.path.join(root, "build/win64"))
out = os.path.abspath(sys.argv[2] if len(sys.argv) > 2 else os.path.join(root, "docs"))
state = os.path.join(build, "wine")
os.environ.update(TV_EXE=os.path.join(build, "bin", "VH-Torv3-NoIntros.exe"),
                  TV_PLACEHOLDER=os.path.join(build, "bin", "vh-tvm3.dat"),
                  TV_WINE_STATE=state, TV_WINDOW_NAME="VARNHOLT crew")
sys.path.insert(0, os.path.join(root, "tools"))
sys.path.insert(0, os.path.join(root, "tests", "e2e"))
import wine_env  # noqa: E402

wine_env.up(state)
import e2e_test  # noqa: E402  (reads the environment set above)


# Client positions of the menu entries and of the inner frame.
MENU = {"main": (60, 103), "about": (60, 119), "contact": (60, 135)}
FRAME = (413, 267)


class Screenshots(e2e_test.ToolEndToEnd):
    def setUp(self):
        super().setUp()
        out = e2e_test.run("xdotool", "getwindowgeometry", "--shell", self.window).stdout
        values = dict(line.split("=", 1) for line in out.split())
        self.origin = (int(values["X"]), int(values["Y"]))

    def move(self, point, *then):
        x, y = self.origin
        e2e_test.run("xdotool", "mousemove", str(x + point[0]), str(y + point[1]), *then)

    def click(self, point):
        self.move(point, "click", "1")

    def shot(self, name):
        path = os.path.join(self.work, name + ".png")
        e2e_test.run("import", "-window", "root", path)
        return path

    def runTest(self):
        os.makedirs(out, exist_ok=True)

        def save(name):
            x, y = self.origin
            full = self.shot(name)
            target = os.path.join(out, name + ".png")
            subprocess.run(["convert", full, "-crop", f"718x406+{x}+{y}", "+repage", target],
                           check=True)
            print(target)

        self.move(MENU["main"])
        save("main-page")
        self.click(MENU["about"])
        self.move(FRAME)
        save("about-page")
        self.click(MENU["contact"])
        self.move((34 + 20, 259 + 6))  # over "Website": its arrow lights up
        save("contact-page")
        self.click(MENU["main"])
        self.move(e2e_test.APPLY)
        save("apply-hovered")


case = Screenshots()
case.setUp()
try:
    case.runTest()
finally:
    case.tearDown()
