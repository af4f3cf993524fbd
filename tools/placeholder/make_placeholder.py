#!/usr/bin/env python3
"""Write the placeholder intro movie: a black Bink 1 (revision "i") file.

The game insists on playing vh-tvm3.dat at start-up; we ship this tiny
all-black movie in its place so it ends after one frame. Output is
deterministic, so the same arguments always give the same bytes.

Usage: make_placeholder.py OUTPUT [--width W] [--height H] [--fps N] [--frames N]
"""

import argparse
import os
import struct
import sys
import tempfile

REVISION = b"i"
LUMA_BLACK = 16      # nominal black for limited-range YUV
CHROMA_NEUTRAL = 128

BLOCK_FILL = 6
TREE_DESCRIPTOR_BITS = 23 * 4   # every Huffman tree = 0 ("raw nibbles")

LIMITS = {  # name: (lowest, highest) accepted
    "width": (1, 7680),
    "height": (1, 4800),
    "fps": (1, 0xFFFFFFFF),   # must fit the header's 32-bit field
    "frames": (1, 1000),
}


class BitWriter:
    """Bink reads bits LSB first: each value goes out bit 0 first, and each
    byte is filled from bit 0 upwards."""

    def __init__(self):
        self._bytes = bytearray()
        self._nbits = 0

    def put(self, value, width):
        if value < 0 or value >> width:
            raise ValueError(f"{value} does not fit in {width} bits")
        for i in range(width):
            if self._nbits % 8 == 0:
                self._bytes.append(0)
            self._bytes[-1] |= ((value >> i) & 1) << (self._nbits % 8)
            self._nbits += 1

    def align32(self):
        while self._nbits % 32:
            self.put(0, 1)

    def getvalue(self):
        return bytes(self._bytes)


def _lg(x):
    return x.bit_length() - 1


def count_widths(plane_width, bw):
    """Bit widths of the 9 bundle counts, in the order they are coded."""
    w8 = (max(plane_width, 8) + 7) // 8 * 8
    per_col = _lg(w8 // 8 + 511) + 1
    return [
        per_col,                       # block types
        _lg(w8 // 16 + 511) + 1,       # sub-block types
        _lg(bw * 64 + 511) + 1,        # colours
        _lg(bw * 8 + 511) + 1,         # patterns
        per_col, per_col,              # x / y motion
        per_col, per_col,              # intra / inter DC
        _lg(bw * 48 + 511) + 1,        # runs
    ]


def encode_plane(plane_width, bw, bh, colour):
    """One plane where every 8x8 block is FILL with `colour`.

    Block types and colours are refilled once per row (bw of each), which
    works at any size; the other bundles are closed with a zero count in
    row 0 and never read again. Returns bytes padded to 32 bits."""
    widths = count_widths(plane_width, bw)
    out = BitWriter()
    out.put(0, TREE_DESCRIPTOR_BITS)
    for row in range(bh):
        out.put(bw, widths[0])
        out.put(1, 1)                  # all values the same
        out.put(BLOCK_FILL, 4)
        if row == 0:
            out.put(0, widths[1])
        out.put(bw, widths[2])
        out.put(1, 1)
        out.put(colour >> 4, 4)        # high nibble first
        out.put(colour & 15, 4)
        if row == 0:
            for width in widths[3:]:
                out.put(0, width)
    out.align32()
    return out.getvalue()


def encode_frame(width, height):
    luma = encode_plane(width, (width + 7) // 8, (height + 7) // 8, LUMA_BLACK)
    chroma = encode_plane(width // 2, (width + 15) // 16, (height + 15) // 16,
                          CHROMA_NEUTRAL)
    # Revision i: a word giving the luma byte length, so a player can skip
    # straight to chroma. Chroma order is V then U; both are neutral here.
    return struct.pack("<I", len(luma)) + luma + chroma + chroma


def build_movie(width, height, fps, frames):
    frame = encode_frame(width, height)
    first = 44 + 4 * (frames + 1)
    total = first + frames * len(frame)
    header = b"BIK" + REVISION + struct.pack(
        "<10I", total - 8, frames, len(frame), frames, width, height,
        fps, 1, 0, 0)  # fps/1, no flags, no audio tracks
    # Every frame is a full intra picture, so all are marked keyframes (bit 0).
    index = [(first + k * len(frame)) | 1 for k in range(frames)] + [total]
    return header + struct.pack(f"<{frames + 1}I", *index) + frame * frames


def write_atomic(path, data):
    """Write beside the target, then rename, so a failure never leaves a
    truncated movie where the game would pick it up."""
    directory = os.path.dirname(os.path.abspath(path))
    fd, tmp = tempfile.mkstemp(prefix=".placeholder-", suffix=".tmp",
                               dir=directory)
    try:
        with os.fdopen(fd, "wb") as f:
            f.write(data)
            f.flush()
            os.fsync(f.fileno())
        umask = os.umask(0)
        os.umask(umask)
        os.chmod(tmp, 0o666 & ~umask)   # mkstemp's 0600 is too strict
        os.replace(tmp, path)
    except BaseException:
        if os.path.exists(tmp):
            os.unlink(tmp)
        raise


def parse_args(argv):
    parser = argparse.ArgumentParser(
        description="Write a black placeholder Bink movie (revision i).")
    parser.add_argument("output", help="file to write, e.g. vh-tvm3.dat")
    parser.add_argument("--width", type=int, default=640)
    parser.add_argument("--height", type=int, default=480)
    parser.add_argument("--fps", type=int, default=25)
    parser.add_argument("--frames", type=int, default=1)
    args = parser.parse_args(argv)
    for name, (lo, hi) in LIMITS.items():
        value = getattr(args, name)
        if not lo <= value <= hi:
            parser.error(f"--{name} must be between {lo} and {hi}, got {value}")
    if os.path.isdir(args.output):
        parser.error(f"output {args.output!r} is a directory")
    return args


def main(argv=None):
    args = parse_args(argv)
    data = build_movie(args.width, args.height, args.fps, args.frames)
    try:
        write_atomic(args.output, data)
    except OSError as e:
        print(f"make_placeholder.py: cannot write {args.output}: {e.strerror}",
              file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
