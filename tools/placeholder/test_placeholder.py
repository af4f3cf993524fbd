#!/usr/bin/env python3
"""Checks the shipped placeholder movie and its generator: test_placeholder.py [MOVIE] (or set
PLACEHOLDER=MOVIE). FFmpeg is the independent decoder; without it the tests fail, never skip."""

import os
import pathlib
import shutil
import subprocess
import sys
import tempfile
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
MOVIE = os.environ.get("PLACEHOLDER")
if len(sys.argv) > 1 and not sys.argv[1].startswith("-"):
    MOVIE = sys.argv.pop(1)

# Sizes, rate and frame offsets, written out by hand from the format notes, not taken from the
# generator; ffmpeg judges the rest.
HEADER_AND_INDEX = bytes.fromhex(
    "42 49 4b 69 94 02 00 00 01 00 00 00 68 02 00 00 01 00 00 00 80 02 00 00"
    "e0 01 00 00 19 00 00 00 01 00 00 00 00 00 00 00 00 00 00 00 35 00 00 00"
    "9c 02 00 00")


def run(*cmd):
    return subprocess.run(cmd, capture_output=True, timeout=60)


def generate(out, *args):
    return run(sys.executable, os.path.join(HERE, "make_placeholder.py"), out, *args).returncode


def decode(path):
    if shutil.which("ffmpeg") is None:
        raise AssertionError("ffmpeg not found: install the Debian package ffmpeg")
    return run("ffmpeg", "-v", "error", "-xerror", "-err_detect", "explode",
               "-i", path, "-f", "rawvideo", "-pix_fmt", "yuv420p", "-")


class PlaceholderTest(unittest.TestCase):
    def setUp(self):
        if not MOVIE or not os.path.isfile(MOVIE):
            self.fail(f"movie not found ({MOVIE!r}): pass it as argv[1] or in PLACEHOLDER")
        self.data = pathlib.Path(MOVIE).read_bytes()
        self.tmp = self.enterContext(tempfile.TemporaryDirectory())

    def test_matches_generator_and_its_container(self):
        out = os.path.join(self.tmp, "vh-tvm3.dat")
        self.assertEqual(generate(out), 0)
        self.assertEqual(pathlib.Path(out).read_bytes(), self.data, "stale movie: regenerate it")
        self.assertEqual((len(self.data), self.data[:52]), (668, HEADER_AND_INDEX))

    def test_decodes_black_at_every_size_and_a_truncated_copy_does_not(self):
        r = decode(MOVIE)
        self.assertEqual((r.returncode, r.stderr.decode()), (0, ""))
        y_size, raw = 640 * 480, r.stdout
        self.assertEqual(len(raw), y_size * 3 // 2)
        self.assertLessEqual(max(raw[:y_size]), 16)
        self.assertLessEqual(max(abs(b - 128) for b in set(raw[y_size:])), 2)
        # The decoder is strict enough to be the judge: it refuses a cut movie.
        cut = os.path.join(self.tmp, "cut.dat")
        pathlib.Path(cut).write_bytes(self.data[:-200])
        r = decode(cut)
        self.assertTrue(r.returncode != 0 or r.stderr, "ffmpeg accepted a truncated movie")
        for w, h, frames in ((1, 1, 1), (17, 9, 3), (7680, 4800, 1)):
            out = os.path.join(self.tmp, f"{w}x{h}.dat")
            self.assertEqual(generate(out, "--width", str(w), "--height", str(h),
                                      "--frames", str(frames)), 0)
            r = decode(out)
            self.assertEqual((r.returncode, r.stderr.decode()), (0, ""), (w, h))
            frame = w * h + 2 * ((w + 1) // 2) * ((h + 1) // 2)
            self.assertEqual(len(r.stdout), frames * frame, (w, h))


if __name__ == "__main__":
    unittest.main()
