#!/usr/bin/env python3
"""Paint the window art: skin, inner frame, menu arrows and the app icon.

Everything is drawn procedurally so the art can be regenerated and tweaked
in one place. Output is deterministic: the same script always writes the
same bytes (no PRNG at all; gradients are ordered-dithered).

Usage: make_art.py [OUTPUT_DIR]     (default: assets/)
"""

import os
import struct
import sys

from raster import (Canvas, clamp, lerp, poly_bounds, poly_coverage, quantize, rounded_rect_sd,
                    smoothstep)

# --- Geometry shared with the program (client coordinates) -----------------

SKIN_W, SKIN_H = 718, 406
FRAME_X, FRAME_Y = 13, 67
FRAME_W, FRAME_H = 696, 293
ARROW_W, ARROW_H = 10, 9
ICON_SIZE = 48

# Where the program draws the arrows, client coordinates.
ARROW_SPOTS = [(19, 99), (19, 115), (19, 131), (19, 147),
               (19, 246), (19, 261), (19, 276)]

# Outline of the window region: a rounded rectangle.
CORNER_R = 16.0

# --- Palette --------------------------------------------------------------

MAGENTA = (255, 0, 255)          # the region builder's "not window" key
WINDOW = (40, 51, 73)            # window colour; check boxes paint this
ORANGE = (248, 117, 33)          # selected menu entry
EDGE_DARK = (10, 13, 21)
BEVEL_TOP = (118, 138, 176)
BEVEL_BOTTOM = (58, 71, 98)

BODY_TOP = (45, 57, 81)
BODY_BOTTOM = (35, 45, 65)
HEADER_TOP = (64, 80, 110)
HEADER_BOTTOM = (47, 60, 86)
FOOTER_TOP = (31, 40, 58)
FOOTER_BOTTOM = (25, 32, 48)

PANEL = (26, 34, 50)             # recessed panels behind menu / hint text
PANEL_SHADOW = (21, 28, 42)
ETCH_DARK = (20, 26, 39)
ETCH_LIGHT = (70, 86, 116)

ARROW_OFF = (128, 145, 176)
ARROW_OFF_HI = (168, 183, 208)
ARROW_ON = ORANGE
ARROW_ON_HI = (255, 178, 104)

# Skin bands (client y).
HEADER_END = 37                  # last header row
ACCENT_Y = 38                    # orange line under the header
TITLE_Y0, TITLE_Y1 = 42, 64      # recessed strip behind the title text
FOOTER_Y = 369                   # first footer row

# Frame layout (frame-local coordinates).
SEP_X = 207                      # groove between menu column and options
MENU_PANEL = (3, 22, 196, 99)    # x0, y0, x1, y1 inclusive
HINT_PANEL = (3, 172, 196, 282)
OPTIONS_BOX = (219, 23, 687, 131)
BOTTOM_ETCH_Y = 249


# --- Skin -----------------------------------------------------------------

def racing_stripes():
    """Three slanted bars at the right of the header: the crew's mark."""
    bars = []
    for i in range(3):
        x0 = 628 + i * 16
        bars.append(([(x0 + 8, 11), (x0 + 17, 11), (x0 + 9, 27), (x0, 27)],
                     0.85 - 0.28 * i))
    return bars


def skin_body(x, y):
    """Colour of the skin at pixel (x, y), ignoring the outline."""
    if y <= HEADER_END:
        c = lerp(HEADER_TOP, HEADER_BOTTOM, y / float(HEADER_END))
        # Faint diagonal hatching fading in towards the right; kept away
        # from the crew name (x < 357) so the text stays clean.
        if 4 <= y <= 33 and (x + y) % 4 == 0:
            w = smoothstep(380, 560, x) * (1.0 - smoothstep(560, 700, x) * 0.3)
            c = lerp(c, (90, 110, 146), 0.28 * w)
        return c
    if y == ACCENT_Y:
        # Bright at the left, fading out to the right like a light streak.
        t = smoothstep(4, 40, x) * (1.0 - smoothstep(260, 700, x))
        return lerp(HEADER_BOTTOM, ORANGE, 0.25 + 0.75 * t)
    if y == ACCENT_Y + 1:
        return (18, 23, 35)
    if y < FOOTER_Y:
        t = (y - ACCENT_Y) / float(FOOTER_Y - ACCENT_Y)
        c = lerp(BODY_TOP, BODY_BOTTOM, t)
        if TITLE_Y0 <= y <= TITLE_Y1 and 10 <= x <= 707:
            c = title_strip(x, y, c)
        return c
    if y == FOOTER_Y:
        return ETCH_DARK
    if y == FOOTER_Y + 1:
        return (58, 72, 99)
    t = (y - FOOTER_Y) / float(SKIN_H - FOOTER_Y)
    c = lerp(FOOTER_TOP, FOOTER_BOTTOM, t)
    # A chequered-flag fade at the right end of the footer.
    if 378 <= y <= 397 and x >= 520:
        if ((x // 5) + ((y - 378) // 5)) % 2 == 0:
            w = smoothstep(520, 680, x) * (1.0 - smoothstep(690, 704, x))
            c = lerp(c, (62, 76, 104), 0.55 * w)
    return c


def title_strip(x, y, c):
    """Shallow recess behind the title text."""
    if y == TITLE_Y0 or x == 10:
        return (24, 31, 46)
    if y == TITLE_Y1 or x == 707:
        return (62, 77, 105)
    return lerp(c, (30, 39, 57), 0.75)


def skin_pixel(x, y):
    sd = rounded_rect_sd(x + 0.5, y + 0.5, SKIN_W, SKIN_H, CORNER_R)
    if sd >= 0.0:
        return None
    inward = -sd
    c = skin_body(x, y)
    # Bevel ring, lit from above: bright along the top, dimmer at the bottom.
    bevel = lerp(BEVEL_TOP, BEVEL_BOTTOM, y / float(SKIN_H - 1))
    c = lerp(c, bevel, clamp(1.0 - abs(inward - 1.5)))
    c = lerp(c, bevel, 0.3 * clamp(1.0 - abs(inward - 2.5)))
    # The outermost ring is dark; partially covered corner pixels blend
    # towards it, never towards the key colour.
    c = lerp(c, EDGE_DARK, clamp(1.6 - inward))
    return c


def make_skin():
    img = Canvas(SKIN_W, SKIN_H)
    stripes = racing_stripes()
    for y in range(SKIN_H):
        row = img.rows[y]
        for x in range(SKIN_W):
            c = skin_pixel(x, y)
            if c is None:
                row[x] = MAGENTA
                continue
            for poly, alpha in stripes:
                if 10 <= y <= 28 and 626 <= x <= 700:
                    cov = poly_coverage(x, y, poly)
                    if cov:
                        col = lerp(ORANGE, (255, 160, 80), (27 - y) / 16.0)
                        c = lerp(c, col, cov * alpha)
            q = quantize(c, x, y)
            if q == MAGENTA:       # cannot happen with this palette
                q = (254, 0, 255)
            row[x] = q
    return img


# --- Frame ----------------------------------------------------------------

def emblem_polys(ox, oy, s, skew=0.0):
    """The crew's emblem: a bold V (unit design 32 x 30), scaled by s and
    leaned forward by skew for a sense of speed."""
    v = [(0, 0), (10, 0), (16, 19), (22, 0), (32, 0), (20.5, 30), (11.5, 30)]
    return [(ox + (px + (30 - py) * skew) * s, oy + py * s) for px, py in v]


def speed_bars(x0, y0, h, w, gap, slant):
    """Parallelograms leaning right, echoing the header's racing stripes."""
    return [[(x0 + i * gap + slant, y0), (x0 + i * gap + slant + w, y0),
             (x0 + i * gap + w, y0 + h), (x0 + i * gap, y0 + h)]
            for i in range(3)]


# Faint echo of the header mark filling the empty lower options area.
WATERMARK = list(zip(speed_bars(528, 148, 84, 22, 36, 40), (1.0, 0.7, 0.4)))


def panel_pixel(x, y, rect):
    x0, y0, x1, y1 = rect
    if x == x0 or y == y0:
        return ETCH_DARK if not (x == x0 and y == y1) else (44, 56, 78)
    if x == x1 or y == y1:
        return ETCH_LIGHT if not (x == x1 and y == y0) else (44, 56, 78)
    if x == x0 + 1 or y == y0 + 1:
        return PANEL_SHADOW
    return PANEL


def in_rect(x, y, rect):
    return rect[0] <= x <= rect[2] and rect[1] <= y <= rect[3]


def frame_pixel(x, y):
    """Colour of the inner frame at frame-local (x, y)."""
    # Outer edge: recessed into the skin.
    if x == 0 or y == 0:
        return ETCH_DARK
    if x == FRAME_W - 1 or y == FRAME_H - 1:
        return ETCH_LIGHT
    if x == 1 or y == 1:
        return (30, 38, 56)
    if x == FRAME_W - 2 or y == FRAME_H - 2:
        return (52, 65, 90)

    if x < SEP_X:
        if in_rect(x, y, MENU_PANEL):
            return panel_pixel(x, y, MENU_PANEL)
        if in_rect(x, y, HINT_PANEL):
            return panel_pixel(x, y, HINT_PANEL)
        c = lerp((44, 56, 80), (36, 46, 66), y / float(FRAME_H))
        # Cap of the menu column: a thin lit bar above the menu panel.
        if 8 <= y <= 13 and 3 <= x <= 196:
            c = column_cap(x, y, c)
        # Divider between menu and hint panel, with an orange diamond.
        mid = (MENU_PANEL[3] + HINT_PANEL[1]) // 2
        fade = smoothstep(8, 60, x) * (1.0 - smoothstep(140, 192, x))
        if y == mid:
            c = lerp(c, ETCH_DARK, fade)
        elif y == mid + 1:
            c = lerp(c, ETCH_LIGHT, fade)
        cov = poly_coverage(x, y, DIAMOND_SHADOW) if in_rect(
            x, y, (90, mid - 5, 112, mid + 7)) else 0.0
        if cov:
            c = lerp(c, ETCH_DARK, 0.7 * cov)
            cov = poly_coverage(x, y, DIAMOND)
            c = lerp(c, lerp((255, 170, 100), ORANGE, (y - mid + 3) / 6.0),
                     cov)
        return c

    # Separator groove, fading at both ends.
    if x in (SEP_X, SEP_X + 1):
        fade = smoothstep(4, 40, y) * (1.0 - smoothstep(250, 288, y))
        col = ETCH_DARK if x == SEP_X else ETCH_LIGHT
        return lerp(WINDOW, col, fade)

    # Options area: flat window colour so the system check boxes blend in.
    if in_rect(x, y, OPTIONS_BOX):
        x0, y0, x1, y1 = OPTIONS_BOX
        if (x in (x0, x1 - 1) and y0 <= y <= y1 - 1) or \
           (y in (y0, y1 - 1) and x0 <= x <= x1 - 1):
            return ETCH_DARK
        if (x in (x0 + 1, x1) and y0 + 1 <= y <= y1) or \
           (y in (y0 + 1, y1) and x0 + 1 <= x <= x1):
            return ETCH_LIGHT
        return WINDOW
    if y in (BOTTOM_ETCH_Y, BOTTOM_ETCH_Y + 1) and \
            OPTIONS_BOX[0] <= x <= OPTIONS_BOX[2]:
        fade = smoothstep(OPTIONS_BOX[0], OPTIONS_BOX[0] + 60, x) * \
            (1.0 - smoothstep(OPTIONS_BOX[2] - 60, OPTIONS_BOX[2], x))
        col = ETCH_DARK if y == BOTTOM_ETCH_Y else ETCH_LIGHT
        return lerp(WINDOW, col, fade)
    return WINDOW


_DMID = (MENU_PANEL[3] + HINT_PANEL[1]) // 2 + 1.0
_DCX = (MENU_PANEL[0] + MENU_PANEL[2] + 1) / 2.0
DIAMOND = [(_DCX, _DMID - 3.5), (_DCX + 3.5, _DMID), (_DCX, _DMID + 3.5),
           (_DCX - 3.5, _DMID)]
DIAMOND_SHADOW = [(_DCX, _DMID - 5.0), (_DCX + 5.0, _DMID),
                  (_DCX, _DMID + 5.0), (_DCX - 5.0, _DMID)]


def column_cap(x, y, c):
    """Thin bevelled bar capping the menu column."""
    if y == 8:
        return lerp(c, (92, 112, 148), 0.8)
    if y == 13:
        return lerp(c, ETCH_DARK, 0.8)
    lit = lerp((62, 78, 108), (48, 61, 87), (y - 9) / 3.0)
    # Orange tab at the left end of the bar.
    if x <= 40:
        lit = lerp(lit, ORANGE, 0.85 * (1.0 - smoothstep(28, 40, x)))
    return lit


def make_frame():
    img = Canvas(FRAME_W, FRAME_H)
    marks = [(poly, a, poly_bounds(poly)) for poly, a in WATERMARK]
    for y in range(FRAME_H):
        row = img.rows[y]
        for x in range(FRAME_W):
            c = frame_pixel(x, y)
            for poly, alpha, (bx0, by0, bx1, by1) in marks:
                if bx0 <= x <= bx1 and by0 <= y <= by1:
                    cov = poly_coverage(x, y, poly, 3)
                    if cov:
                        c = lerp(c, (47, 60, 85), cov * alpha)
            row[x] = quantize(c, x, y)
    return img


# --- Arrows ---------------------------------------------------------------

ARROW_POLY = [(2.0, 0.5), (8.8, 4.5), (2.0, 8.5)]


def make_arrow(frame, base, hi):
    img = Canvas(ARROW_W, ARROW_H)
    fx, fy = ARROW_SPOTS[0][0] - FRAME_X, ARROW_SPOTS[0][1] - FRAME_Y
    for y in range(ARROW_H):
        for x in range(ARROW_W):
            bg = frame.rows[fy + y][fx + x]
            cov = poly_coverage(x, y, ARROW_POLY, 6)
            col = lerp(hi, base, smoothstep(1.0, 6.0, y))
            img.rows[y][x] = tuple(int(round(v)) for v in lerp(bg, col, cov))
    return img


# --- Icon -----------------------------------------------------------------

def icon_pixel(x, y, v_shadow, v_main):
    """Returns (rgb, opaque)."""
    n = ICON_SIZE
    sd = rounded_rect_sd(x + 0.5, y + 0.5, n, n, 9.0)
    if sd >= 0.0:
        return (0, 0, 0), False
    inward = -sd
    c = lerp((62, 79, 110), (28, 36, 54), y / float(n - 1))
    # Cool cyan speed line under the emblem.
    if 40 <= y <= 41 and 8 <= x <= 39:
        c = lerp(c, (90, 200, 235), 0.9 if y == 40 else 0.45)
    sh = poly_coverage(x, y, v_shadow)
    if sh:
        c = lerp(c, (8, 10, 18), 0.8 * sh)
    cov = poly_coverage(x, y, v_main)
    if cov:
        fill = lerp((255, 176, 96), ORANGE, smoothstep(6, 24, y))
        fill = lerp(fill, (214, 88, 18), smoothstep(24, 40, y))
        c = lerp(c, fill, cov)
    bevel = lerp((140, 160, 196), (50, 62, 88), y / float(n - 1))
    c = lerp(c, bevel, clamp(1.0 - abs(inward - 1.5)))
    c = lerp(c, EDGE_DARK, clamp(1.6 - inward))
    return c, True


def make_icon():
    v_main = emblem_polys(5.5, 7, 1.0, 0.12)
    v_shadow = emblem_polys(7.0, 8.5, 1.0, 0.12)
    n = ICON_SIZE
    pix = []
    for y in range(n):
        row = []
        for x in range(n):
            c, opaque = icon_pixel(x, y, v_shadow, v_main)
            row.append((quantize(c, x, y) if opaque else (0, 0, 0), opaque))
        pix.append(row)

    xor = bytearray()
    for y in range(n - 1, -1, -1):
        for (r, g, b), _ in pix[y]:
            xor += bytes((b, g, r))
        xor += b"\0" * ((-n * 3) % 4)
    mask_stride = ((n + 31) // 32) * 4
    andm = bytearray()
    for y in range(n - 1, -1, -1):
        bits = bytearray(mask_stride)
        for x in range(n):
            if not pix[y][x][1]:
                bits[x // 8] |= 0x80 >> (x % 8)
        andm += bits
    info = struct.pack("<IiiHHIIiiII", 40, n, n * 2, 1, 24, 0,
                       len(xor) + len(andm), 0, 0, 0, 0)
    image = info + bytes(xor) + bytes(andm)
    head = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", n, n, 0, 0, 1, 24, len(image), 6 + 16)
    return head + entry + image


# --- Main -----------------------------------------------------------------

def write(path, data):
    # Write then rename, so a failed run never leaves a half-written asset.
    tmp = path + ".tmp"
    with open(tmp, "wb") as f:
        f.write(data)
    os.replace(tmp, path)


def main(argv):
    out = argv[1] if len(argv) > 1 else "assets"
    os.makedirs(out, exist_ok=True)
    frame = make_frame()
    write(os.path.join(out, "skin_complete.bmp"), make_skin().bmp_bytes())
    write(os.path.join(out, "skin_frames.bmp"), frame.bmp_bytes())
    write(os.path.join(out, "arrow_off.bmp"),
          make_arrow(frame, ARROW_OFF, ARROW_OFF_HI).bmp_bytes())
    write(os.path.join(out, "arrow_on.bmp"),
          make_arrow(frame, ARROW_ON, ARROW_ON_HI).bmp_bytes())
    write(os.path.join(out, "app.ico"), make_icon())
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
