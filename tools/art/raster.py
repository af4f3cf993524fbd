"""Drawing helpers of the art generator: colour arithmetic, ordered dithering, shapes and
their pixel coverage, and a canvas that writes itself as a 24-bit BMP."""

import math
import struct


# --- Small helpers --------------------------------------------------------

def clamp(v, lo=0.0, hi=1.0):
    return lo if v < lo else hi if v > hi else v


def lerp(a, b, t):
    return tuple(a[i] + (b[i] - a[i]) * t for i in range(3))


def smoothstep(e0, e1, x):
    t = clamp((x - e0) / (e1 - e0))
    return t * t * (3 - 2 * t)


# 4x4 Bayer thresholds in (0, 1): integral colours stay exact, fractional
# ones (gradients) dither instead of banding.
_BAYER = [[0, 8, 2, 10], [12, 4, 14, 6], [3, 11, 1, 9], [15, 7, 13, 5]]


def quantize(c, x, y):
    d = (_BAYER[y & 3][x & 3] + 0.5) / 16.0
    return tuple(max(0, min(255, int(math.floor(v + d)))) for v in c)


def rounded_rect_sd(px, py, w, h, r):
    """Signed distance from (px, py) to a w x h rounded rectangle at the
    origin; negative inside."""
    qx = abs(px - w / 2.0) - (w / 2.0 - r)
    qy = abs(py - h / 2.0) - (h / 2.0 - r)
    ox, oy = max(qx, 0.0), max(qy, 0.0)
    return math.hypot(ox, oy) + min(max(qx, qy), 0.0) - r


def point_in_poly(x, y, poly):
    inside = False
    n = len(poly)
    j = n - 1
    for i in range(n):
        xi, yi = poly[i]
        xj, yj = poly[j]
        if (yi > y) != (yj > y) and x < (xj - xi) * (y - yi) / (yj - yi) + xi:
            inside = not inside
        j = i
    return inside


def poly_coverage(x, y, poly, n=4):
    """Fraction of pixel (x, y) covered by the polygon (n x n samples)."""
    hit = 0
    for sy in range(n):
        for sx in range(n):
            if point_in_poly(x + (sx + 0.5) / n, y + (sy + 0.5) / n, poly):
                hit += 1
    return hit / float(n * n)


def poly_bounds(poly):
    xs = [p[0] for p in poly]
    ys = [p[1] for p in poly]
    return (int(math.floor(min(xs))), int(math.floor(min(ys))),
            int(math.ceil(max(xs))), int(math.ceil(max(ys))))


# --- Containers -----------------------------------------------------------

class Canvas:
    def __init__(self, w, h):
        self.w, self.h = w, h
        self.rows = [[(0, 0, 0)] * w for _ in range(h)]

    def bmp_bytes(self):
        """24-bit BI_RGB bottom-up BMP, rows padded to 4 bytes."""
        stride = (self.w * 3 + 3) & ~3
        pad = b"\0" * (stride - self.w * 3)
        body = bytearray()
        for y in range(self.h - 1, -1, -1):
            for r, g, b in self.rows[y]:
                body += bytes((b, g, r))
            body += pad
        info = struct.pack("<IiiHHIIiiII", 40, self.w, self.h, 1, 24, 0,
                           len(body), 2835, 2835, 0, 0)
        head = struct.pack("<2sIHHI", b"BM", 14 + len(info) + len(body),
                           0, 0, 14 + len(info))
        return head + info + bytes(body)
