#!/usr/bin/env python3
"""Times the tool from process start to the end of its fade-in (alpha 240, which Wine shows
as the X property _NET_WM_WINDOW_OPACITY) against two yardsticks in the same run, under the
same Wine prefix and display: a bare Win32 program that only shows a window, and the same
program running the tool's fade (0 to 240 by 4, a pump before each step).

usage: startup_bench.py BUILD_DIR TOOL_EXE [--runs N]
"""
import argparse
import os
import statistics
import subprocess
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
import wine_env  # noqa: E402

OPAQUE_240 = 240 * 0xFFFFFFFF // 255  # how Wine scales a layered window's alpha


def find_window(env, name, deadline):
    while time.monotonic() < deadline:
        found = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", name], env=env,
                               capture_output=True, text=True).stdout.split()
        if found:
            return found[0]
        time.sleep(0.005)
    return None


def opacity(env, window):
    out = subprocess.run(["xprop", "-id", window, "_NET_WM_WINDOW_OPACITY"], env=env,
                         capture_output=True, text=True).stdout
    try:
        return int(out.rsplit("=", 1)[1])
    except (IndexError, ValueError):
        return None


def time_start(env, exe, name, until_opacity, *arguments):
    start = time.monotonic()
    process = subprocess.Popen([wine_env.WINE, exe, *arguments], env=env, stdin=subprocess.DEVNULL,
                               stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    deadline = start + 60
    try:
        window = find_window(env, name, deadline)
        if window is None:
            raise RuntimeError(f"no window named {name!r} appeared")
        if until_opacity is not None:
            while time.monotonic() < deadline:
                value = opacity(env, window)
                if value is not None and value >= until_opacity:
                    break
                time.sleep(0.002)
            else:
                raise RuntimeError("the fade-in never reached 240")
        return time.monotonic() - start
    finally:
        process.kill()
        process.wait()
        subprocess.run(["xdotool", "search", "--name", name, "windowkill"], env=env,
                       capture_output=True)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("build_dir")
    parser.add_argument("tool_exe")
    parser.add_argument("--tool-name", default="VARNHOLT")
    parser.add_argument("--runs", type=int, default=5)
    args = parser.parse_args()
    state = os.path.join(args.build_dir, "bench-wine")
    wine_env.up(state)
    env = wine_env.environment(state)
    bare = os.path.join(args.build_dir, "bin", "bare_window.exe")
    times = {"bare": [], "faded": [], "tool": []}
    time_start(env, bare, "TvBareWindow", None)  # warm the prefix and the file cache
    for _ in range(args.runs):
        times["bare"].append(time_start(env, bare, "TvBareWindow", None))
        times["faded"].append(time_start(env, bare, "TvBareWindow", OPAQUE_240, "--fade"))
        times["tool"].append(time_start(env, args.tool_exe, args.tool_name, OPAQUE_240))
    median = {key: statistics.median(values) for key, values in times.items()}
    print(f"bare window shown:         median {median['bare'] * 1000:7.1f} ms over {args.runs} runs")
    print(f"bare window faded in:      median {median['faded'] * 1000:7.1f} ms")
    print(f"tool faded in to 240:      median {median['tool'] * 1000:7.1f} ms")
    print(f"tool / bare faded in:      {median['tool'] / median['faded']:7.2f}x")
    wine_env.down(state)


if __name__ == "__main__":
    main()
