#!/usr/bin/env python3
"""Check the window art files that the program loads at start-up.

The skin loader builds the window region from every non-magenta pixel and
blits the other bitmaps at fixed places, so wrong sizes, formats or a stray
key colour show up as a broken window. Exits 1 naming each faulty file.

Usage: check_art.py [ASSET_DIR]     (default: assets/)
"""

import os
import struct
import sys

MAGENTA = (255, 0, 255)
WINDOW = (40, 51, 73)

SKIN = ("skin_complete.bmp", 718, 406)
FRAME = ("skin_frames.bmp", 696, 293)
ARROWS = [("arrow_off.bmp", 10, 9), ("arrow_on.bmp", 10, 9)]
ICON = ("app.ico", 48)

FRAME_X, FRAME_Y = 13, 67
ARROW_SPOTS = [(19, 99), (19, 115), (19, 131), (19, 147),
               (19, 246), (19, 261), (19, 276)]
# The system check boxes paint WINDOW; the frame must match behind them.
CHECKBOX_AREA = (242, 122, 520, 182)   # client x0, y0, x1, y1 (exclusive)


class Fault(Exception):
    pass


def read_bmp(path, want_w, want_h):
    """Parse a 24-bit BI_RGB bottom-up BMP; returns rows of (r, g, b)."""
    try:
        with open(path, "rb") as f:
            data = f.read()
    except OSError as e:
        raise Fault(f"cannot read: {e.strerror}")
    if len(data) < 54 or data[:2] != b"BM":
        raise Fault("not a BMP file")
    file_size, _, _, offset = struct.unpack_from("<IHHI", data, 2)
    (hsize, w, h, planes, bpp, comp,
     _, _, _, _, _) = struct.unpack_from("<IiiHHIIiiII", data, 14)
    if hsize != 40:
        raise Fault(f"info header size {hsize}, expected 40")
    if (w, h) != (want_w, want_h):
        raise Fault(f"size {w}x{h}, expected {want_w}x{want_h}"
                    + (" (top-down)" if h == -want_h else ""))
    if planes != 1 or bpp != 24:
        raise Fault(f"{bpp} bits per pixel, {planes} planes; expected 24, 1")
    if comp != 0:
        raise Fault(f"compression {comp}, expected BI_RGB (0)")
    stride = (w * 3 + 3) & ~3
    if offset + stride * h > len(data):
        raise Fault(f"pixel data truncated ({len(data)} bytes)")
    if file_size != len(data):
        raise Fault(f"header says {file_size} bytes, file has {len(data)}")
    rows = []
    for y in range(h):
        base = offset + (h - 1 - y) * stride
        rows.append([(data[base + 3 * x + 2], data[base + 3 * x + 1],
                      data[base + 3 * x]) for x in range(w)])
    return rows


def check_skin(rows):
    w, h = len(rows[0]), len(rows)
    for x, y in ((0, 0), (w - 1, 0), (0, h - 1), (w - 1, h - 1)):
        if rows[y][x] != MAGENTA:
            raise Fault(f"corner ({x},{y}) is {rows[y][x]}, not magenta: "
                        "outline must not be a plain rectangle")
    if rows[h // 2][w // 2] == MAGENTA:
        raise Fault("centre pixel is magenta")
    runs = 0
    for y, row in enumerate(rows):
        opaque = [x for x, c in enumerate(row) if c != MAGENTA]
        if not opaque:
            raise Fault(f"row {y} has no window pixels")
        x0, x1 = opaque[0], opaque[-1]
        if x1 - x0 + 1 != len(opaque):
            holes = [x for x in range(x0, x1 + 1) if row[x] == MAGENTA]
            raise Fault(f"row {y}: magenta inside the outline at x={holes[:5]}")
        runs += 1
        for x in opaque:
            r, g, b = row[x]
            # A pixel blended towards the key colour would show as a pink
            # fringe once it becomes part of the window.
            if r > 150 and b > 150 and g < 110:
                raise Fault(f"pixel ({x},{y}) {row[x]} is a near-magenta fringe")
    return runs


def check_frame(rows):
    for y, row in enumerate(rows):
        for x, c in enumerate(row):
            if c == MAGENTA:
                raise Fault(f"magenta pixel at ({x},{y})")
    x0, y0, x1, y1 = CHECKBOX_AREA
    for y in range(y0, y1):
        for x in range(x0, x1):
            c = rows[y - FRAME_Y][x - FRAME_X]
            if max(abs(c[i] - WINDOW[i]) for i in range(3)) > 2:
                raise Fault(f"client ({x},{y}) behind the check boxes is {c}, "
                            f"expected about {WINDOW}")


def check_arrow(name, rows, frame):
    for sx, sy in ARROW_SPOTS:
        for y in range(len(rows)):
            for x in (0, len(rows[0]) - 1):
                want = frame[sy - FRAME_Y + y][sx - FRAME_X + x]
                if rows[y][x] != want:
                    raise Fault(f"background ({x},{y}) is {rows[y][x]} but "
                                f"the frame under client ({sx},{sy}) has {want}")
    lit = [c for row in rows for c in row if c[0] > 200 and c[2] < 100]
    if name == "arrow_on.bmp" and not lit:
        raise Fault("no orange pixels in the lit arrow")
    if name == "arrow_off.bmp" and lit:
        raise Fault("plain arrow contains orange pixels")


def check_icon(path, size):
    try:
        with open(path, "rb") as f:
            data = f.read()
    except OSError as e:
        raise Fault(f"cannot read: {e.strerror}")
    if len(data) < 6 + 16 + 40:
        raise Fault("file too short for an icon")
    reserved, kind, count = struct.unpack_from("<HHH", data, 0)
    if reserved != 0 or kind != 1:
        raise Fault(f"not an icon (reserved {reserved}, type {kind})")
    if count != 1:
        raise Fault(f"{count} images, expected 1")
    w, h, colors, _, planes, bpp, nbytes, offset = struct.unpack_from(
        "<BBBBHHII", data, 6)
    if (w, h) != (size, size) or bpp != 24 or planes != 1:
        raise Fault(f"directory entry {w}x{h} {bpp} bpp {planes} planes, "
                    f"expected {size}x{size} 24 bpp 1 plane")
    if offset + nbytes != len(data):
        raise Fault(f"image at {offset}+{nbytes} does not end the file "
                    f"({len(data)} bytes)")
    hsize, bw, bh, bplanes, bbpp, comp = struct.unpack_from(
        "<IiiHHI", data, offset)
    if hsize != 40 or bw != size or bh != 2 * size or bbpp != 24 \
            or bplanes != 1 or comp != 0:
        raise Fault(f"image header {hsize}/{bw}x{bh}/{bbpp} bpp/comp {comp}, "
                    f"expected 40/{size}x{2 * size}/24 bpp/BI_RGB")
    xor = ((size * 3 + 3) & ~3) * size
    mask = ((size + 31) // 32) * 4 * size
    if nbytes != 40 + xor + mask:
        raise Fault(f"image is {nbytes} bytes, expected {40 + xor + mask}")


def main(argv):
    root = argv[1] if len(argv) > 1 else "assets"
    faults = []

    def run(name, fn):
        try:
            return fn()
        except Fault as e:
            faults.append(f"{os.path.join(root, name)}: {e}")
            return None

    name, w, h = SKIN
    skin = run(name, lambda: read_bmp(os.path.join(root, name), w, h))
    runs = run(name, lambda: check_skin(skin)) if skin else None

    name, w, h = FRAME
    frame = run(name, lambda: read_bmp(os.path.join(root, name), w, h))
    if frame:
        run(name, lambda: check_frame(frame))

    for name, w, h in ARROWS:
        rows = run(name, lambda: read_bmp(os.path.join(root, name), w, h))
        if rows and frame:
            run(name, lambda: check_arrow(name, rows, frame))

    name, size = ICON
    run(name, lambda: check_icon(os.path.join(root, name), size))

    if faults:
        for f in faults:
            print("check_art: " + f, file=sys.stderr)
        return 1
    print(f"check_art: all art in {root} is fine "
          f"(skin outline: {runs} rows, one opaque run each)")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
