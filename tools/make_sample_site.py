#!/usr/bin/env python3
"""Writes the sample web site that the designer's default target points to: samples/html/.

Run from anywhere:  python3 tools/make_sample_site.py

The pages, the text file, the pictures and the short movie are all made here: the pages are
written out below, the pictures are drawn from shapes and a small block font, and the movie is
an uncompressed AVI of a turning disc.  Pictures go through ImageMagick's /usr/bin/convert for
GIF and JPEG encoding; everything else is plain python3.  The output is the same on every run.

Every file the pages link to lies in the pages' own folder, as the designer's scanner expects,
and the pages show each page action of the built-in viewer.
"""

import math
import os
import struct
import subprocess
import tempfile

ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), os.pardir))
OUT = os.path.join(ROOT, "samples", "html")
CONVERT = "/usr/bin/convert"  # ImageMagick 6; other convert programs on PATH may differ


# --- Drawing -------------------------------------------------------------------------------

class Canvas:
    def __init__(self, w, h, colour=(255, 255, 255)):
        self.w, self.h = w, h
        self.px = [list(colour) for _ in range(w * h)]

    def blend(self, x, y, colour, alpha):
        if 0 <= x < self.w and 0 <= y < self.h and alpha > 0:
            p = self.px[y * self.w + x]
            for i in range(3):
                p[i] = p[i] + (colour[i] - p[i]) * min(alpha, 1.0)

    def shade(self, inside, paint, box=None):
        """Fills the pixels where inside(x, y) holds, 4x4 samples per pixel for soft edges."""
        x0, y0, x1, y1 = box or (0, 0, self.w, self.h)
        for y in range(max(0, int(y0)), min(self.h, int(math.ceil(y1)) + 1)):
            for x in range(max(0, int(x0)), min(self.w, int(math.ceil(x1)) + 1)):
                hits = sum(1 for sy in range(4) for sx in range(4)
                           if inside(x + (sx + 0.5) / 4, y + (sy + 0.5) / 4))
                if hits:
                    self.blend(x, y, paint(x, y), hits / 16.0)

    def rect(self, x0, y0, x1, y1, paint):
        paint = as_paint(paint)
        if all(float(v).is_integer() for v in (x0, y0, x1, y1)):  # whole pixels: no edge to soften
            for y in range(max(0, int(y0)), min(self.h, int(y1))):
                for x in range(max(0, int(x0)), min(self.w, int(x1))):
                    self.px[y * self.w + x] = list(paint(x, y))
            return
        self.shade(lambda x, y: x0 <= x < x1 and y0 <= y < y1, paint, (x0, y0, x1, y1))

    def circle(self, cx, cy, r, paint, r_in=0.0):
        def inside(x, y):
            d = math.hypot(x - cx, y - cy)
            return r_in <= d <= r
        self.shade(inside, as_paint(paint), (cx - r, cy - r, cx + r, cy + r))

    def polygon(self, pts, paint):
        def inside(x, y):
            odd = False
            for (ax, ay), (bx, by) in zip(pts, pts[1:] + pts[:1]):
                if (ay > y) != (by > y) and x < ax + (y - ay) * (bx - ax) / (by - ay):
                    odd = not odd
            return odd
        xs, ys = [p[0] for p in pts], [p[1] for p in pts]
        self.shade(inside, as_paint(paint), (min(xs), min(ys), max(xs), max(ys)))

    def rgb(self):
        return bytes(max(0, min(255, int(round(c)))) for p in self.px for c in p)


def as_paint(paint):
    return paint if callable(paint) else (lambda x, y: paint)


def vertical(h, top, bottom):
    return lambda x, y: tuple(a + (b - a) * y / max(1, h - 1) for a, b in zip(top, bottom))


FONT = {  # 5 x 7 block letters, one string per row
    "A": ["01110", "10001", "10001", "11111", "10001", "10001", "10001"],
    "C": ["01111", "10000", "10000", "10000", "10000", "10000", "01111"],
    "D": ["11110", "10001", "10001", "10001", "10001", "10001", "11110"],
    "E": ["11111", "10000", "10000", "11110", "10000", "10000", "11111"],
    "I": ["11111", "00100", "00100", "00100", "00100", "00100", "11111"],
    "K": ["10001", "10010", "10100", "11000", "10100", "10010", "10001"],
    "L": ["10000", "10000", "10000", "10000", "10000", "10000", "11111"],
    "M": ["10001", "11011", "10101", "10101", "10001", "10001", "10001"],
    "N": ["10001", "11001", "10101", "10011", "10001", "10001", "10001"],
    "O": ["01110", "10001", "10001", "10001", "10001", "10001", "01110"],
    "P": ["11110", "10001", "10001", "11110", "10000", "10000", "10000"],
    "R": ["11110", "10001", "10001", "11110", "10100", "10010", "10001"],
    "S": ["01111", "10000", "10000", "01110", "00001", "00001", "11110"],
    "T": ["11111", "00100", "00100", "00100", "00100", "00100", "00100"],
    "V": ["10001", "10001", "10001", "10001", "01010", "01010", "00100"],
    "!": ["00100", "00100", "00100", "00100", "00100", "00000", "00100"],
    " ": ["00000"] * 7,
}


def text(c, s, x, y, cell, colour, shadow=None):
    def inside_at(ox, oy):
        def inside(px, py):
            col, row = int((px - ox) // cell), int((py - oy) // cell)
            if px < ox or py < oy or row >= 7 or col // 6 >= len(s) or col % 6 == 5:
                return False
            return FONT[s[col // 6]][row][col % 6] == "1"
        return inside
    w = text_width(s, cell)
    for d, col in ([(cell * 0.35, shadow)] if shadow else []) + [(0, colour)]:
        c.shade(inside_at(x + d, y + d), as_paint(col), (x + d, y + d, x + d + w, y + d + 7 * cell))


def text_width(s, cell):
    return 6 * cell * len(s) - cell


def disc(c, cx, cy, r, turn=0.0):
    """A silver disc with a coloured sheen that turns with `turn` (radians)."""
    def paint(x, y):
        a = math.atan2(y - cy, x - cx) + turn
        t = 0.5 + 0.5 * math.cos(2 * a)
        return (150 + 90 * t, 170 + 70 * (1 - t), 215 + 35 * t)
    c.circle(cx, cy, r, paint)
    c.circle(cx, cy, r * 0.30, (245, 245, 250))
    c.circle(cx, cy, r * 0.12, (60, 70, 100))
    c.circle(cx, cy, r, (90, 100, 130), r_in=r - max(1.0, r * 0.04))


# --- Pictures ------------------------------------------------------------------------------

NAVY, ORANGE, WHITE = (22, 44, 96), (245, 140, 30), (255, 255, 255)


def draw_logo():
    c = Canvas(420, 84)
    c.rect(0, 0, 420, 84, vertical(84, (36, 72, 150), (14, 30, 70)))
    disc(c, 46, 42, 34)
    c.polygon([(38, 28), (38, 56), (60, 42)], ORANGE)
    text(c, "VINTROSK!", 96, 12, 4, WHITE, shadow=(5, 12, 35))
    text(c, "SAMPLE DISC", 98, 52, 2.6, (255, 200, 120))
    return c


def draw_back():
    c = Canvas(96, 96, (246, 248, 252))
    for i in range(-96, 192, 24):
        c.polygon([(i, 0), (i + 6, 0), (i + 102, 96), (i + 96, 96)], (236, 240, 249))
    return c


def draw_wallpaper():
    w, h = 640, 480
    c = Canvas(w, h)
    c.rect(0, 0, w, h, vertical(h, (30, 60, 130), (120, 170, 230)))
    for i, (x, y, r) in enumerate([(470, 210, 140), (150, 190, 80), (300, 80, 45)]):
        disc(c, x, y, r, turn=i * 0.7)
    text(c, "VINTROSK!", (w - text_width("VINTROSK!", 7)) / 2, 400, 7, WHITE, shadow=(10, 20, 50))
    return c


def button(draw):
    c = Canvas(48, 48, (246, 248, 252))
    c.circle(24, 24, 23, vertical(48, (70, 110, 200), (25, 50, 120)))
    draw(c)
    return c


def draw_message(c):
    c.rect(11, 13, 37, 31, WHITE)
    c.polygon([(16, 30), (24, 30), (15, 38)], WHITE)
    for y in (18, 23):
        c.rect(15, y, 33, y + 2, NAVY)


def draw_quit(c):
    c.polygon([(13, 16), (16, 13), (35, 32), (32, 35)], WHITE)
    c.polygon([(32, 13), (35, 16), (16, 35), (13, 32)], WHITE)


def draw_run(c):
    c.polygon([(18, 13), (18, 35), (36, 24)], ORANGE)


def draw_browse(c):
    c.polygon([(10, 16), (20, 16), (23, 19), (38, 19), (38, 35), (10, 35)], (255, 205, 90))
    c.rect(10, 22, 38, 35, (255, 185, 60))


def draw_copy(c):
    c.rect(12, 11, 28, 31, (200, 215, 240))
    c.rect(20, 18, 36, 38, WHITE)
    c.polygon([(26, 24), (31, 28), (26, 32)], ORANGE)


def draw_movie(c):
    c.rect(10, 14, 38, 34, (30, 30, 30))
    for x in range(12, 38, 6):
        c.rect(x, 16, x + 3, 18, WHITE)
        c.rect(x, 30, x + 3, 32, WHITE)
    c.polygon([(20, 20), (20, 28), (28, 24)], ORANGE)


def draw_page(c):
    c.polygon([(14, 10), (29, 10), (35, 16), (35, 38), (14, 38)], WHITE)
    for y in (19, 24, 29):
        c.rect(18, y, 31, y + 2, NAVY)


def draw_web(c):
    c.circle(24, 24, 13, WHITE, r_in=11)
    c.rect(11, 23, 37, 25, WHITE)
    c.rect(23, 11, 25, 37, WHITE)


# --- Movie -----------------------------------------------------------------------------------

def avi_bytes(frames, w, h, fps):
    """Uncompressed 8-bit AVI with one shared palette: the smallest movie any player opens."""
    palette = [(r * 51, g * 51, b * 51) for r in range(6) for g in range(6) for b in range(6)]
    palette += [(0, 0, 0)] * (256 - len(palette))

    def index(p):
        return sum(int(round(v / 51.0)) * m for v, m in zip(p, (36, 6, 1)))

    stride = (w + 3) & ~3
    images = []
    for c in frames:
        data = bytearray()
        for y in range(h - 1, -1, -1):
            row = bytes(index(c.px[y * w + x]) for x in range(w))
            data += row + bytes(stride - w)
        images.append(bytes(data))
    size = len(images[0])

    def chunk(fcc, data):
        return fcc + struct.pack("<I", len(data)) + data + (b"\0" if len(data) % 2 else b"")

    def lst(kind, data):
        return chunk(b"LIST", kind + data)

    bih = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 8, 0, size, 0, 0, 256, 0)
    bih += b"".join(bytes((b, g, r, 0)) for r, g, b in palette)
    avih = struct.pack("<14I", 1000000 // fps, size * fps, 0, 0x10, len(images), 0, 1, size, w, h, 0, 0, 0, 0)
    strh = struct.pack("<4s4sIHHIIIIIIIIhhhh", b"vids", b"DIB ", 0, 0, 0, 0, 1, fps, 0, len(images), size,
                       0xFFFFFFFF, 0, 0, 0, w, h)
    hdrl = lst(b"hdrl", chunk(b"avih", avih) + lst(b"strl", chunk(b"strh", strh) + chunk(b"strf", bih)))
    movi_items, index_entries, offset = b"", b"", 4
    for img in images:
        index_entries += struct.pack("<4sIII", b"00db", 0x10, offset, len(img))
        item = chunk(b"00db", img)
        movi_items += item
        offset += len(item)
    body = b"AVI " + hdrl + lst(b"movi", movi_items) + chunk(b"idx1", index_entries)
    return b"RIFF" + struct.pack("<I", len(body)) + body


def movie_frames(count, w, h):
    frames = []
    for i in range(count):
        c = Canvas(w, h)
        c.rect(0, 0, w, h, vertical(h, (0, 51, 153), (0, 0, 51)))
        disc(c, w / 2, h / 2, h * 0.4, turn=2 * math.pi * i / count)
        frames.append(c)
    return frames


# --- Pages -----------------------------------------------------------------------------------

HEAD = """<!DOCTYPE html>
<html>
<head>
<meta http-equiv="X-UA-Compatible" content="IE=edge">
<meta charset="us-ascii">
<title>{title}</title>
<style>
body {{ font-family: Tahoma, Verdana, Arial, sans-serif; font-size: 10pt; color: #16305f; margin: 18px; }}
h1 {{ font-size: 14pt; margin: 14px 0 6px 0; }}
td {{ font-size: 10pt; vertical-align: middle; padding: 4px 8px 4px 0; }}
a {{ color: #1d4fb4; font-weight: bold; }}
.note {{ color: #5a6a88; font-size: 8pt; margin-top: 18px; }}
</style>
</head>
<body background="back.jpg">
<img src="logo.gif" width="420" height="84" alt="Vintrosk! Sample Disc">
"""

FOOT = """<p class="note">This sample disc was made with Vintrosk!. Every file it uses lies in the same
folder as its pages, so the designer finds and copies all of them.</p>
</body>
</html>
"""


def row(icon, href, label, what):
    return ('<tr><td><a href="{h}"><img src="{i}" width="48" height="48" border="0" alt=""></a></td>\n'
            '<td><a href="{h}">{l}</a><br>{w}</td></tr>\n').format(h=href, i=icon, l=label, w=what)


MENU = HEAD.format(title="Vintrosk! Sample Disc") + """<h1>Welcome</h1>
<p>This page opened by itself when the disc was inserted. Pick a topic:</p>
<table>
""" + row("btn_page.gif", "2_Demo_Page_Actions.html", "Page actions",
          "Links on a page can show a message, start a program, copy files, open the disc or close this window.") + \
    row("btn_movie.gif", "3_Demo_Movie.html", "A short movie",
        "The built-in viewer plays movies as well as pages.") + \
    row("btn_message.gif", "ACTION_MESSAGEBOX=Hello!", "Say hello",
        "Shows a message box, right from this menu.") + \
    row("btn_web.gif", "https://vintrosk.example/", "Vintrosk! on the web",
        "Web addresses open as usual; they are not copied onto the disc.") + \
    row("btn_quit.gif", "ACTION_QUIT", "Close", "Closes this window.") + """</table>
<p>Questions? Write to <a href="mailto:discs@vintrosk.example">discs@vintrosk.example</a>.</p>
""" + FOOT

ACTIONS = HEAD.format(title="Vintrosk! Sample Disc - Page actions") + """<h1>Page actions</h1>
<p>Each of these links is a page action. The viewer runs the action instead of opening a page.</p>
<table>
""" + row("btn_message.gif", "ACTION_MESSAGEBOX=Welcome!", "Show a message",
          "ACTION_MESSAGEBOX shows the text after the equals sign.") + \
    row("btn_run.gif", "ACTION_RUN=readme.txt", "Open the read-me file",
        "ACTION_RUN opens a program or file from the disc.") + \
    row("btn_copy.gif", "ACTION_COPY=wallpaper.jpg,{desktop}\\Vintrosk_Sample_Wallpaper.jpg", "Copy a picture to your desktop",
        "ACTION_COPY copies files from the disc; {desktop} stands for your desktop folder.") + \
    row("btn_browse.gif", "ACTION_BROWSE", "Open the disc",
        "ACTION_BROWSE shows the disc's files in Explorer.") + \
    row("btn_quit.gif", "ACTION_QUIT", "Close the viewer", "ACTION_QUIT closes this window.") + """</table>
<p><a href='1_Demo_General_Menu.html'>Back to the menu</a> | <a href='3_Demo_Movie.html'>Next: a short movie</a></p>
""" + FOOT

MOVIE = HEAD.format(title="Vintrosk! Sample Disc - Movie") + """<h1>A short movie</h1>
<p>Movies on a disc open in the built-in viewer too, when the disc starts with one.
From a page, a link plays the movie:</p>
<table>
""" + row("btn_movie.gif", "intro.avi", "Play the turning disc", "Two seconds, no sound.") + """</table>
<p>The picture below is the one that the copy action puts on your desktop.</p>
<p><img src='wallpaper.jpg' width="320" height="240" alt="Wallpaper"></p>
<p><a href='2_Demo_Page_Actions.html'>Back: page actions</a> | <a href='1_Demo_General_Menu.html#top'>Menu</a></p>
""" + FOOT

README = """Vintrosk! Sample Disc
=====================

This disc was made with Vintrosk!. It opens its menu page by itself when
it is inserted, with a splash picture and a start-up sound.

The page "Page actions" shows what links on a disc page can do: show a
message, open this file, copy a picture to your desktop, open the disc
in Explorer and close the viewer.
"""


# --- Output ----------------------------------------------------------------------------------

def write(name, data):
    path = os.path.join(OUT, name)
    os.makedirs(OUT, exist_ok=True)
    with open(path, "wb") as f:
        f.write(data)
    print("samples/html/%-30s %8d bytes" % (name, len(data)))


def write_picture(name, canvas, args):
    with tempfile.TemporaryDirectory() as tmp:
        src, dst = os.path.join(tmp, "in.ppm"), os.path.join(tmp, "out" + os.path.splitext(name)[1])
        with open(src, "wb") as f:
            f.write(b"P6\n%d %d\n255\n" % (canvas.w, canvas.h) + canvas.rgb())
        subprocess.run([CONVERT, src, "-strip"] + args + [dst], check=True)
        with open(dst, "rb") as f:
            write(name, f.read())


def crlf(s):
    return s.replace("\n", "\r\n").encode("ascii")


def main():
    jpeg = ["-sampling-factor", "2x2", "-quality", "85"]
    gif = ["-colors", "128"]
    write("1_Demo_General_Menu.html", crlf(MENU))
    write("2_Demo_Page_Actions.html", crlf(ACTIONS))
    write("3_Demo_Movie.html", crlf(MOVIE))
    write("readme.txt", crlf(README))
    write_picture("logo.gif", draw_logo(), gif)
    write_picture("back.jpg", draw_back(), jpeg)
    write_picture("wallpaper.jpg", draw_wallpaper(), jpeg)
    for name, draw in [("message", draw_message), ("quit", draw_quit), ("run", draw_run),
                       ("browse", draw_browse), ("copy", draw_copy), ("movie", draw_movie),
                       ("page", draw_page), ("web", draw_web)]:
        write_picture("btn_%s.gif" % name, button(draw), gif)
    write("intro.avi", avi_bytes(movie_frames(16, 80, 60), 80, 60, 8))


if __name__ == "__main__":
    main()
