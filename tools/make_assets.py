#!/usr/bin/env python3
"""Draws Vintrosk!'s own pictures, icons and sounds.

Run from the repository root:  python3 tools/make_assets.py

Everything is computed here from shapes, a small stroke font and sine waves; nothing is read
from elsewhere.  The outputs are committed, so a build never needs this script; it is kept so
the files can be remade or changed.  The only outside program is ImageMagick's /usr/bin/convert,
used to turn a pixel image drawn here into JPEG or GIF.  Output is the same on every run.
"""

import math
import os
import struct
import subprocess
import sys
import tempfile
import zlib

ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), os.pardir))
CONVERT = "/usr/bin/convert"  # im6; other convert binaries on PATH may not be ImageMagick
ZOPFLIPNG = "/usr/bin/zopflipng"  # the icons' PNG frames, about a tenth smaller than zlib's


# ---------------------------------------------------------------------------------------------
# Colour helpers

def clamp(v, lo=0.0, hi=1.0):
    return lo if v < lo else hi if v > hi else v


def mix(c0, c1, t):
    return tuple(a + (b - a) * t for a, b in zip(c0, c1))


def rgb(hexstr, a=1.0):
    h = hexstr.lstrip("#")
    return (int(h[0:2], 16) / 255.0, int(h[2:4], 16) / 255.0, int(h[4:6], 16) / 255.0, a)


def hsv(h, s, v, a=1.0):
    h = (h % 1.0) * 6.0
    i = int(h)
    f = h - i
    p, q, t = v * (1 - s), v * (1 - s * f), v * (1 - s * (1 - f))
    r, g, b = [(v, t, p), (q, v, p), (p, v, t), (p, q, v), (t, p, v), (v, p, q)][i % 6]
    return (r, g, b, a)


def smoothstep(e0, e1, x):
    t = clamp((x - e0) / (e1 - e0))
    return t * t * (3 - 2 * t)


def linear(x0, y0, x1, y1, stops):
    """Paint: colour ramp along the line (x0,y0)->(x1,y1); stops are (t, colour)."""
    dx, dy = x1 - x0, y1 - y0
    l2 = dx * dx + dy * dy

    def paint(x, y):
        t = clamp(((x - x0) * dx + (y - y0) * dy) / l2)
        return ramp(stops, t)
    return paint


def radial(cx, cy, r, stops):
    def paint(x, y):
        return ramp(stops, clamp(math.hypot(x - cx, y - cy) / r))
    return paint


def ramp(stops, t):
    if t <= stops[0][0]:
        return stops[0][1]
    for (t0, c0), (t1, c1) in zip(stops, stops[1:]):
        if t <= t1:
            return mix(c0, c1, (t - t0) / (t1 - t0) if t1 > t0 else 1.0)
    return stops[-1][1]


# ---------------------------------------------------------------------------------------------
# Shapes are signed distance functions (negative inside) with a bounding box.  Coverage of a
# pixel is taken from the distance at its centre, which gives smooth antialiased edges at any
# size without supersampling.

INF = float("inf")


class Shape:
    def __init__(self, fn, bbox):
        self.fn = fn
        self.bbox = bbox

    def __or__(self, other):
        a, b = self.fn, other.fn
        return Shape(lambda x, y: min(a(x, y), b(x, y)), bbox_union(self.bbox, other.bbox))

    def __and__(self, other):
        a, b = self.fn, other.fn
        return Shape(lambda x, y: max(a(x, y), b(x, y)), bbox_inter(self.bbox, other.bbox))

    def __sub__(self, other):
        a, b = self.fn, other.fn
        return Shape(lambda x, y: max(a(x, y), -b(x, y)), self.bbox)

    def grow(self, k):
        """Outset by k (negative insets); used for outlines and rounded corners."""
        f = self.fn
        x0, y0, x1, y1 = self.bbox
        return Shape(lambda x, y: f(x, y) - k, (x0 - k, y0 - k, x1 + k, y1 + k))

    def move(self, dx, dy):
        f = self.fn
        x0, y0, x1, y1 = self.bbox
        return Shape(lambda x, y: f(x - dx, y - dy), (x0 + dx, y0 + dy, x1 + dx, y1 + dy))


def bbox_union(a, b):
    return (min(a[0], b[0]), min(a[1], b[1]), max(a[2], b[2]), max(a[3], b[3]))


def bbox_inter(a, b):
    return (max(a[0], b[0]), max(a[1], b[1]), min(a[2], b[2]), min(a[3], b[3]))


def everything():
    return Shape(lambda x, y: -1e9, (-1e9, -1e9, 1e9, 1e9))


def circle(cx, cy, r):
    return Shape(lambda x, y: math.hypot(x - cx, y - cy) - r, (cx - r, cy - r, cx + r, cy + r))


def ring(cx, cy, r0, r1):
    def f(x, y):
        d = math.hypot(x - cx, y - cy)
        return max(d - r1, r0 - d)
    return Shape(f, (cx - r1, cy - r1, cx + r1, cy + r1))


def box(x0, y0, x1, y1, radius=0.0):
    cx, cy = (x0 + x1) / 2, (y0 + y1) / 2
    hx, hy = (x1 - x0) / 2 - radius, (y1 - y0) / 2 - radius

    def f(x, y):
        qx, qy = abs(x - cx) - hx, abs(y - cy) - hy
        out = math.hypot(max(qx, 0.0), max(qy, 0.0))
        return out + min(max(qx, qy), 0.0) - radius
    return Shape(f, (x0, y0, x1, y1))


def polygon(pts):
    pts = list(pts)
    n = len(pts)
    edges = []
    for i in range(n):
        ax, ay = pts[i]
        bx, by = pts[(i + 1) % n]
        ex, ey = bx - ax, by - ay
        edges.append((ax, ay, bx, by, ex, ey, ex * ex + ey * ey or 1e-12))

    def f(x, y):
        best = INF
        inside = False
        for ax, ay, bx, by, ex, ey, l2 in edges:
            wx, wy = x - ax, y - ay
            t = (wx * ex + wy * ey) / l2
            t = 0.0 if t < 0 else 1.0 if t > 1 else t
            dx, dy = wx - ex * t, wy - ey * t
            d = dx * dx + dy * dy
            if d < best:
                best = d
            if (ay > y) != (by > y) and x < ex * (y - ay) / ey + ax:
                inside = not inside
        d = math.sqrt(best)
        return -d if inside else d
    xs = [p[0] for p in pts]
    ys = [p[1] for p in pts]
    return Shape(f, (min(xs), min(ys), max(xs), max(ys)))


def star(cx, cy, r_out, r_in, points=5, turn=-90.0):
    pts = []
    for i in range(points * 2):
        a = math.radians(turn + i * 180.0 / points)
        r = r_out if i % 2 == 0 else r_in
        pts.append((cx + r * math.cos(a), cy + r * math.sin(a)))
    return polygon(pts)


def strokes(polylines, r):
    """Union of round-capped line segments of half width r."""
    segs = []
    xs, ys = [], []
    for pl in polylines:
        if len(pl) == 1:
            pl = [pl[0], pl[0]]
        for (ax, ay), (bx, by) in zip(pl, pl[1:]):
            ex, ey = bx - ax, by - ay
            segs.append((ax, ay, ex, ey, ex * ex + ey * ey))
        xs += [p[0] for p in pl]
        ys += [p[1] for p in pl]

    def f(x, y):
        best = INF
        for ax, ay, ex, ey, l2 in segs:
            wx, wy = x - ax, y - ay
            if l2 > 0:
                t = (wx * ex + wy * ey) / l2
                t = 0.0 if t < 0 else 1.0 if t > 1 else t
                wx -= ex * t
                wy -= ey * t
            d = wx * wx + wy * wy
            if d < best:
                best = d
        return math.sqrt(best) - r
    return Shape(f, (min(xs) - r, min(ys) - r, max(xs) + r, max(ys) + r))


def arc_points(cx, cy, rx, ry, a0, a1, step=7.5):
    """Points on an ellipse; angles in degrees, counter-clockwise as seen (y grows down)."""
    n = max(2, int(math.ceil(abs(a1 - a0) / step)) + 1)
    out = []
    for i in range(n):
        a = math.radians(a0 + (a1 - a0) * i / (n - 1))
        out.append((cx + rx * math.cos(a), cy - ry * math.sin(a)))
    return out


# ---------------------------------------------------------------------------------------------
# Canvas: premultiplied float RGBA.  A view shares the pixels but maps drawing units to pixels
# with its own offset and scale, so one drawing serves every icon size and the splash.

class Canvas:
    def __init__(self, w, h):
        self.w, self.h = w, h
        n = w * h
        self.R, self.G, self.B, self.A = [0.0] * n, [0.0] * n, [0.0] * n, [0.0] * n
        self.ox, self.oy, self.s = 0.0, 0.0, 1.0

    def view(self, ox, oy, s):
        v = Canvas.__new__(Canvas)
        v.__dict__.update(self.__dict__)
        v.ox, v.oy, v.s = ox, oy, s
        return v

    @property
    def px(self):
        """One pixel in drawing units."""
        return 1.0 / self.s

    def snap(self, u):
        """Unit coordinate moved onto the nearest pixel edge, for crisp lines on small icons."""
        return (round(self.ox + u * self.s) - self.ox) / self.s

    def snapc(self, u):
        """Unit coordinate moved onto the nearest pixel centre."""
        return (math.floor(self.ox + u * self.s) + 0.5 - self.ox) / self.s

    def fill(self, shape, paint, alpha=1.0, soft=1.0):
        """Composite paint over the pixels inside shape.  soft > 1 widens the edge ramp to
        that many pixels, which stands in for a blur on shadows and glows."""
        s, ox, oy, w = self.s, self.ox, self.oy, self.w
        bx0, by0, bx1, by1 = shape.bbox
        pad = soft + 1
        x0 = max(0, int(math.floor(ox + bx0 * s - pad)))
        y0 = max(0, int(math.floor(oy + by0 * s - pad)))
        x1 = min(self.w, int(math.ceil(ox + bx1 * s + pad)))
        y1 = min(self.h, int(math.ceil(oy + by1 * s + pad)))
        fn = shape.fn
        const = None if callable(paint) else paint
        R, G, B, A = self.R, self.G, self.B, self.A
        for y in range(y0, y1):
            v = (y + 0.5 - oy) / s
            row = y * w
            for x in range(x0, x1):
                u = (x + 0.5 - ox) / s
                cov = 0.5 - fn(u, v) * s / soft
                if cov <= 0.0:
                    continue
                if cov > 1.0:
                    cov = 1.0
                pr, pg, pb, pa = const if const else paint(u, v)
                a = pa * cov * alpha
                if a <= 0.0:
                    continue
                i = row + x
                k = 1.0 - a
                R[i] = pr * a + R[i] * k
                G[i] = pg * a + G[i] * k
                B[i] = pb * a + B[i] * k
                A[i] = a + A[i] * k

    def rgba8(self, dither=False):
        """Straight (not premultiplied) 8-bit RGBA rows, top row first.  Dithering hides
        banding in the wide, gentle gradients of the splash pictures."""
        bayer = [0, 8, 2, 10, 12, 4, 14, 6, 3, 11, 1, 9, 15, 7, 13, 5]
        out = bytearray()
        for y in range(self.h):
            for x in range(self.w):
                i = y * self.w + x
                a = self.A[i]
                d = (bayer[(y % 4) * 4 + x % 4] + 0.5) / 16.0 if dither else 0.5
                if a <= 1e-6:
                    out += b"\0\0\0\0"
                    continue
                px = [self.R[i] / a, self.G[i] / a, self.B[i] / a]
                out += bytes(int(clamp(c) * 255.0 + d) if c < 1.0 else 255 for c in px)
                out.append(int(clamp(a) * 255.0 + 0.5))
        return bytes(out)


# ---------------------------------------------------------------------------------------------
# A small stroke font.  Glyphs are polylines on a grid where capitals span y 0..10 (baseline at
# 10), lower case x-height starts at y 3, descenders reach y 13.  Strokes are drawn with round
# caps, so one description gives clean text at any size and weight.

def A(*a):
    return arc_points(*a)


def _glyphs():
    g = {}
    g["A"] = (8, [[(0, 10), (4, 0), (8, 10)], [(1.5, 6.6), (6.5, 6.6)]])
    g["B"] = (6.8, [[(0, 10), (0, 0), (3.8, 0)] + A(3.8, 2.5, 2.5, 2.5, 90, -90) + [(0, 5)],
                    [(0, 5), (4.2, 5)] + A(4.2, 7.5, 2.6, 2.5, 90, -90) + [(0, 10)]])
    g["C"] = (8, [A(4.6, 5, 4.6, 5, 48, 312)])
    g["D"] = (7.5, [[(0, 0), (0, 10), (3, 10)] + A(3, 5, 4.5, 5, -90, 90) + [(0, 0)]])
    g["E"] = (6, [[(6, 0), (0, 0), (0, 10), (6, 10)], [(0, 5), (4.8, 5)]])
    g["F"] = (6, [[(6, 0), (0, 0), (0, 10)], [(0, 5), (4.8, 5)]])
    g["G"] = (8.6, [A(4.6, 5, 4.6, 5, 48, 360) + [(9.2, 5.6), (5.2, 5.6)]])
    g["H"] = (7, [[(0, 0), (0, 10)], [(7, 0), (7, 10)], [(0, 5), (7, 5)]])
    g["I"] = (0, [[(0, 0), (0, 10)]])
    g["J"] = (5, [[(5, 0), (5, 7)] + A(2.5, 7, 2.5, 3, 0, -180)])
    g["K"] = (6.5, [[(0, 0), (0, 10)], [(6.2, 0), (0, 6.3)], [(2.2, 4.3), (6.5, 10)]])
    g["L"] = (5.5, [[(0, 0), (0, 10), (5.5, 10)]])
    g["M"] = (9, [[(0, 10), (0, 0), (4.5, 7.5), (9, 0), (9, 10)]])
    g["N"] = (7, [[(0, 10), (0, 0), (7, 10), (7, 0)]])
    g["O"] = (9.2, [A(4.6, 5, 4.6, 5, 0, 360)])
    g["P"] = (6.6, [[(0, 10), (0, 0), (3.8, 0)] + A(3.8, 2.75, 2.8, 2.75, 90, -90) + [(0, 5.5)]])
    g["Q"] = (9.2, [A(4.6, 5, 4.6, 5, 0, 360), [(5.8, 7.2), (9.2, 10.6)]])
    g["R"] = (6.8, [[(0, 10), (0, 0), (3.8, 0)] + A(3.8, 2.75, 2.8, 2.75, 90, -90) + [(0, 5.5)],
                    [(3.4, 5.5), (6.8, 10)]])
    g["S"] = (6.8, [A(3.4, 2.5, 3.2, 2.5, 30, 270) + A(3.4, 7.5, 3.4, 2.5, 90, -150)])
    g["T"] = (7, [[(0, 0), (7, 0)], [(3.5, 0), (3.5, 10)]])
    g["U"] = (7, [[(0, 0), (0, 6.5)] + A(3.5, 6.5, 3.5, 3.5, 180, 360) + [(7, 0)]])
    g["V"] = (8, [[(0, 0), (4, 10), (8, 0)]])
    g["W"] = (11, [[(0, 0), (2.6, 10), (5.5, 1.5), (8.4, 10), (11, 0)]])
    g["X"] = (7, [[(0, 0), (7, 10)], [(7, 0), (0, 10)]])
    g["Y"] = (7.4, [[(0, 0), (3.7, 5.2), (7.4, 0)], [(3.7, 5.2), (3.7, 10)]])
    g["Z"] = (7, [[(0, 0), (7, 0), (0, 10), (7, 10)]])

    bowl = A(3.4, 6.5, 3.4, 3.5, 0, 360)
    g["a"] = (6.8, [bowl, [(6.8, 3), (6.8, 10)]])
    g["b"] = (6.8, [[(0, 0), (0, 10)], bowl])
    g["c"] = (6.3, [A(3.4, 6.5, 3.4, 3.5, 42, 318)])
    g["d"] = (6.8, [bowl, [(6.8, 0), (6.8, 10)]])
    g["e"] = (6.8, [[(0.1, 6.6), (6.8, 6.6)] + A(3.4, 6.5, 3.4, 3.5, 0, 318)])
    g["f"] = (4.4, [[(1.4, 10), (1.4, 2.6)] + A(3.7, 2.6, 2.3, 2.6, 180, 45), [(0, 3.6), (4.2, 3.6)]])
    g["g"] = (6.8, [bowl, [(6.8, 3), (6.8, 10.5)] + A(3.4, 10.5, 3.4, 2.5, 0, -155)])
    g["h"] = (6, [[(0, 0), (0, 10)], A(3, 6, 3, 3, 180, 0) + [(6, 10)]])
    g["i"] = (0, [[(0, 3), (0, 10)], [(0, 0.4)]])
    g["j"] = (2, [[(2, 3), (2, 11)] + A(0, 11, 2, 2, 0, -120), [(2, 0.4)]])
    g["k"] = (5.8, [[(0, 0), (0, 10)], [(5.4, 3), (0, 7.6)], [(2.1, 5.8), (5.8, 10)]])
    g["l"] = (0, [[(0, 0), (0, 10)]])
    g["m"] = (10, [[(0, 3), (0, 10)], A(2.5, 5.6, 2.5, 2.6, 180, 0) + [(5, 10)],
                   A(7.5, 5.6, 2.5, 2.6, 180, 0) + [(10, 10)]])
    g["n"] = (6, [[(0, 3), (0, 10)], A(3, 6, 3, 3, 180, 0) + [(6, 10)]])
    g["o"] = (6.8, [bowl])
    g["p"] = (6.8, [[(0, 3), (0, 13)], bowl])
    g["q"] = (6.8, [bowl, [(6.8, 3), (6.8, 13)]])
    g["r"] = (4.2, [[(0, 3), (0, 10)], A(4, 6.8, 4, 3.8, 180, 82)])
    g["s"] = (5.6, [A(2.8, 4.75, 2.6, 1.75, 28, 270) + A(2.8, 8.25, 2.8, 1.75, 90, -152)])
    g["t"] = (4.2, [[(1.4, 0.6), (1.4, 8.2)] + A(3.6, 8.2, 2.2, 1.8, 180, 285), [(0, 3), (4.2, 3)]])
    g["u"] = (6, [[(0, 3), (0, 7)] + A(3, 7, 3, 3, 180, 360), [(6, 3), (6, 10)]])
    g["v"] = (6.2, [[(0, 3), (3.1, 10), (6.2, 3)]])
    g["w"] = (9.4, [[(0, 3), (2.2, 10), (4.7, 3.6), (7.2, 10), (9.4, 3)]])
    g["x"] = (5.8, [[(0, 3), (5.8, 10)], [(5.8, 3), (0, 10)]])
    g["y"] = (6.2, [[(0, 3), (3.2, 10)], [(6.2, 3), (2.3, 13)]])
    g["z"] = (5.6, [[(0, 3), (5.6, 3), (0, 10), (5.6, 10)]])

    g["0"] = (6.2, [A(3.1, 5, 3.1, 5, 0, 360)])
    g["1"] = (3, [[(0, 2), (3, 0), (3, 10)]])
    g["2"] = (6.2, [A(3.1, 3, 3.1, 3, 160, -35) + [(0, 10), (6.2, 10)]])
    g["3"] = (6.2, [A(3.1, 2.5, 2.9, 2.5, 150, -90) + A(3.1, 7.5, 3.1, 2.5, 90, -150)])
    g["4"] = (6.6, [[(4.8, 10), (4.8, 0), (0, 7), (6.6, 7)]])
    g["5"] = (6.2, [[(5.6, 0), (1, 0), (0.6, 4.6)] + A(3.1, 6.8, 3.1, 3.2, 125, -145)])
    g["6"] = (6.2, [A(3.1, 7, 3.1, 3, 0, 360), A(5.6, 7, 5.6, 7, 95, 180)])
    g["7"] = (6.2, [[(0, 0), (6.2, 0), (2.2, 10)]])
    g["8"] = (6.2, [A(3.1, 2.5, 2.7, 2.5, 0, 360), A(3.1, 7.5, 3.1, 2.5, 0, 360)])
    g["9"] = (6.2, [A(3.1, 3, 3.1, 3, 0, 360), A(0.6, 3, 5.6, 7, 0, -85)])

    g["!"] = (0, [[(0, 0), (0, 6.8)], [(0, 9.9)]])
    g["."] = (0, [[(0, 9.9)]])
    g[","] = (0.4, [[(0.4, 9.8), (-0.4, 11.8)]])
    g["-"] = (3.6, [[(0, 6), (3.6, 6)]])
    g[":"] = (0, [[(0, 4.2)], [(0, 9.9)]])
    g["'"] = (0, [[(0, 0), (0, 2.6)]])
    g["/"] = (4.6, [[(0, 10.6), (4.6, -0.6)]])
    g["?"] = (5.6, [A(2.8, 2.7, 2.8, 2.7, 160, -60) + [(2.8, 6.6), (2.8, 7)], [(2.8, 9.9)]])
    g[" "] = (3.2, [])
    return g


GLYPHS = _glyphs()


def text_width(text, r, gap=1.5):
    """Width in glyph units of text drawn with stroke half-width r."""
    widths = [GLYPHS[ch][0] + 2 * r for ch in text]
    return sum(widths) + gap * (len(text) - 1)


def text_shapes(text, x, baseline, cap, r, gap=1.5, align="center"):
    """One shape per glyph, in the canvas' units; cap is the capital height."""
    k = cap / 10.0
    width = text_width(text, r, gap) * k
    if align == "center":
        x -= width / 2
    elif align == "right":
        x -= width
    top = baseline - cap
    pen = x
    shapes = []
    for ch in text:
        w, polys = GLYPHS[ch]
        gx = pen + r * k
        if polys:
            shapes.append(strokes([[(gx + px * k, top + py * k) for px, py in pl] for pl in polys],
                                  r * k))
        pen += (w + 2 * r + gap) * k
    return shapes


def draw_text(c, text, x, baseline, cap, r, paint, shadow=None, glow=None, gap=1.5,
              align="center"):
    shapes = text_shapes(text, x, baseline, cap, r, gap, align)
    if glow:
        colour, spread, soft = glow
        for sh in shapes:
            c.fill(sh.grow(spread), colour, soft=soft)
    if shadow:
        colour, dx, dy, soft = shadow
        for sh in shapes:
            c.fill(sh.move(dx, dy), colour, soft=soft)
    for sh in shapes:
        c.fill(sh, paint)


# ---------------------------------------------------------------------------------------------
# The disc motif, in a 32 x 32 unit box so it serves as icon and splash art alike.

def disc_paint(cx, cy, R, tone=0.0):
    """Silver with the rainbow sheen a pressed disc shows in two opposite wedges."""
    def paint(x, y):
        dx, dy = x - cx, y - cy
        th = math.atan2(dy, dx)
        rr = math.hypot(dx, dy) / R
        light = 0.80 + 0.13 * math.cos(2 * (th + 0.75)) - 0.06 * rr
        base = (light - 0.02, light, light + 0.04 - tone, 1.0)
        w = (0.5 + 0.5 * math.cos(2 * (th - 0.55))) ** 3
        w *= 0.55 * smoothstep(0.3, 0.62, rr)
        tint = hsv(th / math.pi + rr * 0.45 + 0.55, 0.6, 1.0)
        col = mix(base, tint, w)
        # A bright glint along one diameter makes the surface read as shiny.
        glint = max(0.0, math.cos(2 * (th + 0.75))) ** 18 * 0.5
        return mix(col, (1, 1, 1, 1), glint)
    return paint


def draw_disc(c, cx, cy, R, outline=True, tone=0.0, hub=True):
    px = c.px
    hole = R * 0.16
    rim = rgb("#4a5364")
    if outline:
        c.fill(ring(cx, cy, hole, R), rim)
        body = ring(cx, cy, hole + px, R - px)
    else:
        body = ring(cx, cy, hole, R)
    c.fill(body, disc_paint(cx, cy, R, tone))
    if hub and R * c.s >= 6:
        # The clear plastic hub around the hole, with its faint stacking ring.
        hub_r = R * 0.37
        c.fill(ring(cx, cy, hole + (px if outline else 0), hub_r),
               radial(cx, cy, hub_r, [(0, rgb("#e9edf3")), (1, rgb("#c9d0da"))]), alpha=0.9)
        if R * c.s >= 12:
            c.fill(ring(cx, cy, hub_r - px * 0.5, hub_r + px * 0.5), rgb("#8a93a3"), alpha=0.8)
            c.fill(ring(cx, cy, R * 0.26 - px * 0.35, R * 0.26 + px * 0.35), rgb("#a7afbd"),
                   alpha=0.6)
        if outline:
            c.fill(ring(cx, cy, hole, hole + px), rim, alpha=0.85)


def play_triangle(x0, y0, h, rounding):
    """A play sign with rounded corners: the left edge at x0, top at y0, height h."""
    w = h * 0.88
    tri = polygon([(x0 + rounding, y0 + rounding * 1.6), (x0 + rounding, y0 + h - rounding * 1.6),
                   (x0 + w - rounding * 1.9, y0 + h / 2)])
    return tri.grow(rounding)


def sparkle(cx, cy, r, thin=0.18):
    return star(cx, cy, r, r * thin, points=4, turn=-90)


def draw_app_icon(c, size):
    px = c.px
    big = size >= 32
    if big:
        c.fill(circle(16.6, 16.9, 14.6), (0, 0, 0, 0.28), soft=1.8)
    draw_disc(c, 15, 15, 14.2 if big else 14.6)
    # The play sign says "starts by itself"; it sits low right so the hole stays visible.
    tri = play_triangle(16.6, 14.4, 16.6, 1.4)
    if big:
        c.fill(tri.move(0.6, 0.8), (0, 0, 0, 0.35), soft=1.6)
    c.fill(tri, rgb("#8a2c05"))
    c.fill(tri.grow(-px), linear(18, 15, 26, 30, [(0, rgb("#ffd04a")), (0.55, rgb("#ff8a1c")),
                                                   (1, rgb("#e5420e"))]))
    if size >= 32:
        # A soft highlight on the play sign's upper half.
        c.fill(tri.grow(-px * 2.2) & box(0, 0, 32, 21.5), (1, 1, 1, 0.28))
        c.fill(sparkle(7.6, 7.2, 4.6), (1, 1, 1, 0.95))


# ---------------------------------------------------------------------------------------------
# Small pictures for the designer's groups

def draw_image_icon(c, size):
    px = c.px
    sn = c.snap
    x0, y0, x1, y1 = sn(1.5), sn(4.5), sn(30.5), sn(27.5)
    if size >= 32:
        c.fill(box(x0 + 1, y0 + 1.2, x1 + 1, y1 + 1.2, 1.0), (0, 0, 0, 0.25), soft=1.6)
    c.fill(box(x0, y0, x1, y1, px * 1.2), rgb("#5a3a12"))
    c.fill(box(x0 + px, y0 + px, x1 - px, y1 - px),
           linear(0, y0, 0, y1, [(0, rgb("#e7b35c")), (1, rgb("#a8701f"))]))
    m = 3.0 if size >= 32 else 2 * px
    ix0, iy0, ix1, iy1 = sn(x0 + m), sn(y0 + m), sn(x1 - m), sn(y1 - m)
    if size >= 32:
        c.fill(box(ix0 - px, iy0 - px, ix1 + px, iy1 + px), rgb("#6b4616"))
    pic = box(ix0, iy0, ix1, iy1)
    c.fill(pic, linear(0, iy0, 0, iy1, [(0, rgb("#4c92ea")), (1, rgb("#c4e2ff"))]))
    c.fill(circle(21.5, 12.5, 2.6 if size >= 32 else 3.0) & pic, rgb("#ffd43a"))
    hills = polygon([(ix0 - 1, iy1 + 1), (ix0 - 1, 19.5), (11.5, 13.2), (16.5, 18.5), (19.5, 16),
                     (ix1 + 1, 21.5), (ix1 + 1, iy1 + 1)])
    c.fill(hills & pic, linear(0, 13, 0, iy1, [(0, rgb("#58b948")), (1, rgb("#24722a"))]))
    if size >= 32:
        c.fill(polygon([(11.5, 13.2), (10.0, 14.8), (11.5, 14.2), (13.0, 14.8)]) & pic,
               (1, 1, 1, 0.9))


def draw_file_icon(c, size):
    px = c.px
    sn = c.snap
    l, t, r, b = sn(5.5), sn(1.5), sn(26.5), sn(30.5)
    fold = sn(20.5) - l
    fx = l + fold
    fy = t + (r - fx)
    page = polygon([(l, t), (fx, t), (r, fy), (r, b), (l, b)])
    if size >= 32:
        c.fill(page.move(1, 1), (0, 0, 0, 0.25), soft=1.6)
    c.fill(page, rgb("#4d5566"))
    c.fill(page.grow(-px), linear(l, t, r, b, [(0, rgb("#ffffff")), (1, rgb("#dfe5ee"))]))
    corner = polygon([(fx, t), (fx, fy), (r, fy)])
    c.fill(corner, rgb("#4d5566"))
    c.fill(corner.grow(-px * 0.7), linear(fx, t, r, fy, [(0, rgb("#c3cbd8")), (1, rgb("#f4f6fa"))]))
    # Lines of text, snapped to whole pixel rows so they stay sharp at 16 x 16.
    rows = [11, 15, 19, 23, 27] if size >= 32 else [12, 16, 20, 24]
    for i, yy in enumerate(rows):
        y = c.snapc(yy)
        x_end = r - 4.5 if i != len(rows) - 1 else r - 9
        if i == 0:
            x_end = fx - 2.5
        h = px * (1 if size < 32 else 1.5) / 2
        col = rgb("#3d6fc4") if i == 0 else rgb("#8893a6")
        c.fill(box(sn(l + 3.5), y - h, sn(x_end), y + h), col)


def draw_sound_icon(c, size):
    px = c.px
    body = box(2, 11.5, 9.5, 20.5, 1.0) | polygon([(8, 11.5), (16, 4), (16, 28), (8, 20.5)])
    body = body.grow(0.3)
    if size < 32:
        body = body.move(-0.6, 0)  # keeps the cone's edge on a pixel boundary
    if size >= 32:
        c.fill(body.move(0.9, 1), (0, 0, 0, 0.25), soft=1.6)
    c.fill(body, rgb("#2a2f3a"))
    c.fill(body.grow(-px), linear(0, 4, 12, 28, [(0, rgb("#9aa3b4")), (1, rgb("#4d5566"))]))
    if size >= 32:
        cx, radii, half, span = 16, [5.5, 10, 14.5], 1.2, 42
    else:
        # Two waves whose middles land on whole pixel columns, so they stay sharp.
        cx, radii, half, span = 12, [7, 13], 1.0, 45
    for rr in radii:
        c.fill(strokes([arc_points(cx, 16, rr, rr, -span, span, 4)], half), rgb("#1d5fd6"))


def draw_disc_star_icon(c, size):
    big = size >= 32
    if big:
        c.fill(circle(14.6, 14.9, 13.0), (0, 0, 0, 0.25), soft=1.6)
    draw_disc(c, 13.5, 13.5, 13.0 if big else 13.4)
    st = star(22.5, 22.3, 9.2, 4.0).grow(0.4) if big else star(22.2, 21.8, 8.6, 3.8).grow(0.3)
    if big:
        c.fill(st.move(0.7, 0.8), (0, 0, 0, 0.3), soft=1.6)
    c.fill(st, rgb("#8a5a00"))
    c.fill(st.grow(-c.px), linear(18, 14, 27, 31, [(0, rgb("#fff27a")), (1, rgb("#f2a900"))]))


def draw_window_icon(c, size):
    px = c.px
    sn = c.snap
    l, t, r, b = sn(1.5), sn(3.5), sn(30.5), sn(28.5)
    bar = sn(t + (7 if size >= 32 else 6))
    if size >= 32:
        c.fill(box(l + 1, t + 1.2, r + 1, b + 1.2), (0, 0, 0, 0.25), soft=1.6)
    c.fill(box(l, t, r, b), rgb("#26395e"))
    c.fill(box(l + px, t + px, r - px, bar),
           linear(0, t, 0, bar, [(0, rgb("#5b9bf0")), (1, rgb("#1f56c0"))]))
    c.fill(box(l + px, bar, r - px, b - px), linear(0, bar, 0, b, [(0, rgb("#ffffff")),
                                                                    (1, rgb("#e3e8f0"))]))
    orange = rgb("#d2540f")
    if size < 32:
        # Too few pixels for a smooth arrow: set whole pixels, like the resize pointer.
        cells = [(5 + i, 6 + i) for i in range(7)]
        cells += [(6, 6), (7, 6), (8, 6), (5, 7), (5, 8), (5, 9)]
        cells += [(10, 12), (9, 12), (8, 12), (11, 11), (11, 10), (11, 9)]
        for i, j in cells:
            c.fill(box(i * px, j * px, (i + 1) * px, (j + 1) * px), orange)
        return
    bx = sn(r - 6.5)
    c.fill(box(bx, t + 2 * px, r - 2 * px, bar - 2 * px), rgb("#e8edf7"))
    c.fill(box(sn(l + 3), c.snapc((t + bar) / 2) - px * 0.5, sn(l + 12),
               c.snapc((t + bar) / 2) + px * 0.5), (1, 1, 1, 0.85))
    # A double-headed diagonal arrow: the window's size can be changed.
    a0, a1 = (9.5, bar + 3.5), (r - 4.0, b - 4.0)
    dx, dy = a1[0] - a0[0], a1[1] - a0[1]
    n = math.hypot(dx, dy)
    ux, uy = dx / n, dy / n
    head, w = 5.6, 5.6 * 0.62
    arrow = strokes([[(a0[0] + ux * head * 0.6, a0[1] + uy * head * 0.6),
                      (a1[0] - ux * head * 0.6, a1[1] - uy * head * 0.6)]], 1.1)
    for (x, y), sgn in ((a0, 1), (a1, -1)):
        hx, hy = x + ux * head * sgn, y + uy * head * sgn
        arrow = arrow | polygon([(x, y), (hx - uy * w, hy + ux * w), (hx + uy * w, hy - ux * w)])
    c.fill(arrow, orange)


def draw_sample_disc_icon(c, size):
    """A printed-label disc, the kind a user might put on their own disc."""
    big = size >= 32
    cx = cy = 15.5
    R = 14.6 if big else 15.0
    if big:
        c.fill(circle(cx + 0.8, cy + 0.9, R), (0, 0, 0, 0.3), soft=1.8)
    px = c.px
    hole = R * 0.16
    c.fill(ring(cx, cy, hole, R), rgb("#3b4152"))
    c.fill(ring(cx, cy, hole + px, R - px), disc_paint(cx, cy, R))

    def label(x, y):
        th = math.atan2(y - cy, x - cx)
        rr = math.hypot(x - cx, y - cy) / R
        col = mix(rgb("#1b8fd8"), rgb("#5b2bb8"), smoothstep(-1, 1, math.sin(th + 0.6)))
        band = smoothstep(0.60, 0.64, rr) * (1 - smoothstep(0.76, 0.80, rr))
        col = mix(col, rgb("#ffc531"), band)
        return col
    lab_r = R - (1.6 if big else 2.2)
    c.fill(ring(cx, cy, R * 0.40, lab_r), label)
    if big:
        c.fill(ring(cx, cy, R * 0.40 - px * 0.5, R * 0.40 + px * 0.5), (0, 0, 0, 0.25))
        c.fill(sparkle(cx + R * 0.5, cy - R * 0.52, R * 0.24, 0.2), (1, 1, 1, 0.95))
    c.fill(ring(cx, cy, hole + px, R * 0.40), rgb("#e9edf3", 0.92))
    c.fill(ring(cx, cy, hole, hole + px), rgb("#3b4152"), alpha=0.85)


# ---------------------------------------------------------------------------------------------
# Splash pictures

def draw_designer_splash(c):
    W, H = c.w, c.h
    c.fill(everything(), linear(0, 0, W * 0.55, H, [(0, rgb("#0a1433")), (0.55, rgb("#123a78")),
                                                     (1, rgb("#1b6b9a"))]))
    dcx, dcy, dR = 200.0, 108.0, 76.0
    c.fill(everything(), radial(dcx, dcy, 230, [(0, rgb("#7fc4ff", 0.45)), (0.4, rgb("#4a90e0", 0.18)),
                                                (1, rgb("#000000", 0.0))]))
    # Faint grooves spreading out from the disc carry the motif across the picture.
    for i in range(1, 9):
        rr = dR + 16 * i
        c.fill(ring(dcx, dcy, rr - 0.6, rr + 0.6), (0.8, 0.9, 1.0, 0.10 - i * 0.009))
    # The disc with its play sign, drawn by the same routine as the application icon.
    s = 2 * dR / 28.4
    v = c.view(dcx - 15 * s, dcy - 15 * s, s)
    v.fill(circle(15.9, 16.6, 14.2), (0, 0, 0, 0.45), soft=10)
    draw_disc(v, 15, 15, 14.2)
    tri = play_triangle(16.6, 14.4, 16.6, 1.4)
    v.fill(tri.move(0.5, 0.7), (0, 0, 0, 0.4), soft=6)
    v.fill(tri, rgb("#8a2c05"))
    v.fill(tri.grow(-v.px * 1.5), linear(18, 15, 26, 30, [(0, rgb("#ffd04a")), (0.55, rgb("#ff8a1c")),
                                                          (1, rgb("#e5420e"))]))
    v.fill(tri.grow(-v.px * 4) & box(0, 0, 32, 21.5), (1, 1, 1, 0.25))
    for sx, sy, sr in ((7.4, 7.0, 4.4), (28.5, 3.5, 2.2), (2.2, 25.5, 1.6)):
        v.fill(circle(sx, sy, sr * 0.55), (1, 1, 1, 0.35), soft=8)
        v.fill(sparkle(sx, sy, sr, 0.16), (1, 1, 1, 0.95))

    title = linear(0, 202, 0, 240, [(0, rgb("#ffffff")), (1, rgb("#bfe0ff"))])
    draw_text(c, "Vintrosk!", 200, 240, 40, 1.0, title, shadow=((0, 0, 0.05, 0.55), 2, 3, 5),
              gap=1.6)
    c.fill(strokes([[(110, 254.5), (290, 254.5)]], 0.6),
           lambda x, y: (0.7, 0.85, 1.0, 0.7 * (1 - abs(x - 200) / 90)))
    draw_text(c, "Autoplay CD-ROM designer", 200, 276, 12.5, 0.75, rgb("#cfe3ff"),
              shadow=((0, 0, 0.05, 0.5), 1, 1.5, 2.5), gap=1.9)


def draw_sample_splash(c):
    W, H = c.w, c.h
    c.fill(everything(), linear(0, 0, 0, H, [(0, rgb("#241042")), (0.45, rgb("#7e2c6c")),
                                              (0.78, rgb("#ee7a3e")), (1, rgb("#ffc25a"))]))
    # A disc rises over the sea like a morning sun: the demo disc greets the user.
    dcx, dcy, dR = 200.0, 246.0, 52.0
    c.fill(everything(), radial(dcx, dcy, 210, [(0, rgb("#fff0b0", 0.65)), (0.35, rgb("#ffb060", 0.28)),
                                                (1, rgb("#ff8040", 0.0))]))
    s = dR / 14.2
    v = c.view(dcx - 15 * s, dcy - 15 * s, s)
    v.fill(circle(15, 15, 14.2), rgb("#fff3c0", 0.6), soft=14)
    draw_disc(v, 15, 15, 14.2, tone=0.06)
    v.fill(sparkle(8.2, 6.4, 3.6, 0.16), (1, 1, 1, 0.95))
    waves = [(240, 7, 0.020, 0.0, rgb("#6a2460", 0.6)), (256, 6, 0.027, 1.7, rgb("#44185a", 0.8)),
             (272, 5, 0.034, 3.1, rgb("#26103e", 0.95))]
    for base, amp, freq, ph, col in waves:
        c.fill(Shape(lambda x, y, b=base, a=amp, f=freq, p=ph:
                     b + a * math.sin(x * f + p) + 0.5 * a * math.sin(x * f * 2.3 + p * 1.7) - y,
                     (0, base - 2 * amp, W, H)), col)
    # Stars in the evening sky, placed by hand so every run gives the same picture.
    for sx, sy, sr in ((40, 34, 4.5), (92, 18, 2.5), (150, 46, 3.2), (248, 24, 5.5), (326, 52, 3),
                       (372, 20, 2.5), (22, 100, 2.2), (200, 50, 2.0), (378, 110, 2.2),
                       (30, 176, 1.8), (366, 186, 1.8), (118, 60, 1.6)):
        c.fill(circle(sx, sy, sr * 0.5), (1, 1, 1, 0.35), soft=sr * 1.5)
        c.fill(sparkle(sx, sy, sr, 0.2), (1, 0.98, 0.9, 0.95))
    shadow = ((0.12, 0.02, 0.15, 0.6), 2, 2.5, 4)
    draw_text(c, "Welcome to the", 200, 100, 18, 0.9, rgb("#ffe9c8"), shadow=shadow, gap=1.7)
    draw_text(c, "Demo Disc", 200, 160, 38, 1.05,
              linear(0, 122, 0, 160, [(0, rgb("#ffffff")), (1, rgb("#ffe0a8"))]),
              shadow=((0.12, 0.02, 0.15, 0.65), 2.5, 3, 5), gap=1.7)
    draw_text(c, "Made with Vintrosk!", 390, 292, 9, 0.8, rgb("#f3e4ff", 0.85),
              shadow=((0, 0, 0, 0.5), 1, 1, 2), align="right", gap=2.0)


# ---------------------------------------------------------------------------------------------
# File writers

def png_bytes(w, h, rgba):
    """RGBA PNG, filtered and compressed by zopflipng, which tries every filter strategy."""
    stride = w * 4
    raw = b"".join(b"\0" + bytes(rgba[y * stride:(y + 1) * stride]) for y in range(h))

    def chunk(kind, data):
        return (struct.pack(">I", len(data)) + kind + data +
                struct.pack(">I", zlib.crc32(kind + data) & 0xffffffff))

    png = (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", w, h, 8, 6, 0, 0, 0)) +
           chunk(b"IDAT", zlib.compress(raw)) + chunk(b"IEND", b""))
    # Recompressed, since every byte of an icon is read from the disc at each start. Colours
    # under fully transparent pixels may change; nothing shows them.
    with tempfile.TemporaryDirectory() as tmp:
        src, dst = os.path.join(tmp, "in.png"), os.path.join(tmp, "out.png")
        with open(src, "wb") as f:
            f.write(png)
        subprocess.run([ZOPFLIPNG, "-y", "-m", "--lossy_transparent", src, dst], check=True,
                       stdout=subprocess.DEVNULL)
        with open(dst, "rb") as f:
            return f.read()


def ico_bytes(frames, png_sizes=()):
    """frames: list of (size, rgba8).  32-bit BGRA images plus the 1-bit AND mask that older
    readers use; the mask marks fully transparent pixels.  Frames of the sizes in png_sizes
    are stored as PNG (read since Windows Vista), which keeps the frames that only scaled
    screens ask for small."""
    frames = sorted(frames, key=lambda f: -f[0])
    head = struct.pack("<HHH", 0, 1, len(frames))
    offset = 6 + 16 * len(frames)
    entries, blobs = b"", b""
    for size, px in frames:
        if size in png_sizes:
            blob = png_bytes(size, size, px)
            entries += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32, len(blob), offset)
            blobs += blob
            offset += len(blob)
            continue
        xor = bytearray()
        mask_stride = ((size + 31) // 32) * 4
        andm = bytearray()
        for y in range(size - 1, -1, -1):
            row = bytearray(mask_stride)
            for x in range(size):
                i = (y * size + x) * 4
                r, g, b, a = px[i:i + 4]
                xor += bytes((b, g, r, a))
                if a == 0:
                    row[x // 8] |= 0x80 >> (x % 8)
            andm += row
        bih = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, len(xor) + len(andm),
                          0, 0, 0, 0)
        blob = bih + bytes(xor) + bytes(andm)
        entries += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32, len(blob), offset)
        blobs += blob
        offset += len(blob)
    return head + entries + blobs


def bmp24_bytes(w, h, rgb_rows):
    stride = (w * 3 + 3) & ~3
    data = bytearray()
    for y in range(h - 1, -1, -1):
        row = bytearray()
        for x in range(w):
            r, g, b = rgb_rows[y][x]
            row += bytes((b, g, r))
        row += bytes(stride - len(row))
        data += row
    return _bmp(w, h, 24, b"", bytes(data))


def bmp8_bytes(w, h, palette, index_rows):
    """Palettised BMP; the palette is padded to the full 256 entries readers expect."""
    pal = b"".join(bytes((b, g, r, 0)) for r, g, b in palette)
    pal += bytes(4 * (256 - len(palette)))
    stride = (w + 3) & ~3
    data = bytearray()
    for y in range(h - 1, -1, -1):
        row = bytes(index_rows[y]) + bytes(stride - w)
        data += row
    return _bmp(w, h, 8, pal, bytes(data))


def _bmp(w, h, bpp, pal, data):
    off = 14 + 40 + len(pal)
    fh = struct.pack("<2sIHHI", b"BM", off + len(data), 0, 0, off)
    ih = struct.pack("<IiiHHIIiiII", 40, w, h, 1, bpp, 0, len(data), 2835, 2835, 0, 0)
    return fh + ih + pal + data


def ppm_bytes(w, h, rgb_bytes):
    return b"P6\n%d %d\n255\n" % (w, h) + rgb_bytes


def wav_bytes(samples, rate):
    data = b"".join(struct.pack("<h", s) for s in samples)
    fmt = struct.pack("<HHIIHH", 1, 1, rate, rate * 2, 2, 16)
    return (b"RIFF" + struct.pack("<I", 4 + 8 + len(fmt) + 8 + len(data)) + b"WAVE" +
            b"fmt " + struct.pack("<I", len(fmt)) + fmt + b"data" + struct.pack("<I", len(data)) +
            data)


def write(rel, data):
    path = os.path.join(ROOT, rel)
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as f:
        f.write(data)
    print("%-40s %8d bytes" % (rel, len(data)))


def write_converted(rel, w, h, rgb_bytes, args):
    """Hands a drawn picture to ImageMagick for JPEG or GIF encoding.  -strip keeps dates
    and other varying metadata out, so the file is the same each run."""
    with tempfile.TemporaryDirectory() as tmp:
        src = os.path.join(tmp, "in.ppm")
        dst = os.path.join(tmp, "out" + os.path.splitext(rel)[1])
        with open(src, "wb") as f:
            f.write(ppm_bytes(w, h, rgb_bytes))
        subprocess.run([CONVERT, src, "-strip"] + args + [dst], check=True)
        with open(dst, "rb") as f:
            write(rel, f.read())


JPEG_ARGS = ["-interlace", "none", "-sampling-factor", "1x1", "-quality", "92"]


def rgba_to_rgb(rgba):
    out = bytearray(len(rgba) // 4 * 3)
    out[0::3] = rgba[0::4]
    out[1::3] = rgba[1::4]
    out[2::3] = rgba[2::4]
    return bytes(out)


# ---------------------------------------------------------------------------------------------
# Products

# The icon sizes of screens at 200, 150 and 125 %: the designer's icons have each, so that
# none is stretched from 32 x 32. The application icon has its 48 x 48 bitmap already and
# adds only 64 x 64: 48 shrinks to 40 well enough for the caption and the About box.
SCALED_PNG_FRAMES = (64, 48, 40)


def make_icon(rel, draw, sizes, png_sizes=()):
    frames = []
    for size in sizes + list(png_sizes):
        c = Canvas(size, size)
        draw(c.view(0, 0, size / 32.0), size)
        frames.append((size, c.rgba8()))
    write(rel, ico_bytes(frames, png_sizes))


def make_splash(rel, draw, w=400, h=300):
    c = Canvas(w, h)
    draw(c)
    write_converted(rel, w, h, rgba_to_rgb(c.rgba8(dither=True)), JPEG_ARGS)


def make_chime(rel):
    """A rising four-note arpeggio (E5 G5 C6 E6) with bell-like partials, about 2.5 s."""
    rate = 22050
    n = int(rate * 2.5)
    buf = [0.0] * n
    notes = [(0.00, 659.26, 0.9), (0.13, 783.99, 0.85), (0.26, 1046.50, 0.8), (0.39, 1318.51, 1.0)]
    # Partials: (frequency ratio, amplitude, decay time in s).  The slightly stretched upper
    # partial gives a glassy bell colour; higher partials die away faster.
    partials = [(1.0, 1.0, 0.75), (2.0, 0.35, 0.40), (3.01, 0.12, 0.22), (4.2, 0.06, 0.12)]
    for start, f0, amp in notes:
        s0 = int(start * rate)
        last = f0 > 1300
        for k in range(s0, n):
            t = (k - s0) / rate
            attack = min(1.0, t / 0.004)
            v = 0.0
            for ratio, a, tau in partials:
                tau = tau * (1.8 if last else 1.0)
                v += a * math.exp(-t / tau) * math.sin(2 * math.pi * f0 * ratio * t)
            buf[k] += amp * attack * v
    peak = max(abs(v) for v in buf)
    fade = int(0.08 * rate)
    out = []
    for k, v in enumerate(buf):
        g = 1.0 if k < n - fade else (n - k) / fade
        out.append(int(round(v / peak * 0.7 * 32767 * g)))
    write(rel, wav_bytes(out, rate))


def make_fixtures():
    base = "tests/fixtures/images/"
    W, H = 400, 300
    grey, red, blue = (128, 128, 128), (255, 0, 0), (0, 0, 255)

    def colour(x, y, corner=20):
        if x < corner and y < corner:
            return red
        if x >= W - corner and y >= H - corner:
            return blue  # the far corner, so a test can check the picture's size too
        return grey

    # 8-bit palettised keeps the BMP near 120 KB; the other two formats compress well.
    pal = [grey, red, blue]
    rows = [[pal.index(colour(x, y)) for x in range(W)] for y in range(H)]
    write(base + "pic400x300.bmp", bmp8_bytes(W, H, pal, rows))
    flat = bytes(v for y in range(H) for x in range(W) for v in colour(x, y))
    write_converted(base + "pic400x300.jpg", W, H, flat, JPEG_ARGS[:-1] + ["95"])
    write_converted(base + "pic400x300.gif", W, H, flat, [])
    small = [[red if x < 10 and y < 10 else (0, 160, 0) for x in range(40)] for y in range(30)]
    write(base + "small.bmp", bmp24_bytes(40, 30, small))
    write(base + "notapicture.jpg",
          b"This is plain text, not a picture, saved under a .jpg name.\r\n"
          b"Loading it must fail cleanly.\r\n")


def main():
    if not os.path.exists(CONVERT):
        sys.exit("needs ImageMagick at %s (Debian package imagemagick)" % CONVERT)
    if not os.path.exists(ZOPFLIPNG):
        sys.exit("needs zopflipng at %s (Debian package zopfli)" % ZOPFLIPNG)
    make_icon("res/icons/app.ico", draw_app_icon, [48, 32, 16], SCALED_PNG_FRAMES[:1])
    make_icon("res/icons/image.ico", draw_image_icon, [32], SCALED_PNG_FRAMES)
    make_icon("res/icons/file.ico", draw_file_icon, [32], SCALED_PNG_FRAMES)
    make_icon("res/icons/sound.ico", draw_sound_icon, [32], SCALED_PNG_FRAMES)
    make_icon("res/icons/disc.ico", draw_disc_star_icon, [32], SCALED_PNG_FRAMES)
    make_icon("res/icons/window.ico", draw_window_icon, [32], SCALED_PNG_FRAMES)
    make_icon("samples/icons/disc.ico", draw_sample_disc_icon, [48, 32, 16])
    make_splash("res/splashscreen.jpg", draw_designer_splash)
    make_splash("samples/splashscreens/default.jpg", draw_sample_splash)
    make_chime("samples/sounds/default.wav")
    make_fixtures()


if __name__ == "__main__":
    main()
