#!/usr/bin/env python3
"""Writes the control's 16-colour bitmaps (task icons, button glyphs, toolbox and about pictures).

Run from anywhere: python3 Bitmaps/make_bitmaps.py. The .bmp files land beside this script.
Pictures are drawn from character maps (one character per pixel, see PALETTE) or from small
shape routines; every file uses the standard 16-colour palette at 4 bits per pixel.
"""
import math
import os
import struct

# The platform's standard 16 colours, in palette order, with the character that names each.
PALETTE = [
    ("k", (0, 0, 0)), ("m", (128, 0, 0)), ("d", (0, 128, 0)), ("o", (128, 128, 0)),
    ("n", (0, 0, 128)), ("p", (128, 0, 128)), ("t", (0, 128, 128)), (".", (192, 192, 192)),
    ("g", (128, 128, 128)), ("r", (255, 0, 0)), ("l", (0, 255, 0)), ("y", (255, 255, 0)),
    ("b", (0, 0, 255)), ("f", (255, 0, 255)), ("c", (0, 255, 255)), ("w", (255, 255, 255)),
]
INDEX = {char: i for i, (char, _) in enumerate(PALETTE)}


class Picture:
    def __init__(self, width, height, fill="."):
        self.width = width
        self.height = height
        self.pixels = [[fill] * width for _ in range(height)]

    def put(self, x, y, char):
        if 0 <= x < self.width and 0 <= y < self.height:
            self.pixels[y][x] = char

    def rect(self, left, top, right, bottom, char):
        """Fills left..right-1, top..bottom-1."""
        for y in range(top, bottom):
            for x in range(left, right):
                self.put(x, y, char)

    def frame(self, left, top, right, bottom, char):
        for x in range(left, right):
            self.put(x, top, char)
            self.put(x, bottom - 1, char)
        for y in range(top, bottom):
            self.put(left, y, char)
            self.put(right - 1, y, char)

    def line(self, x0, y0, x1, y1, char):
        steps = max(abs(x1 - x0), abs(y1 - y0), 1)
        for i in range(steps + 1):
            self.put(round(x0 + (x1 - x0) * i / steps), round(y0 + (y1 - y0) * i / steps), char)

    def shape(self, inside, body, outline, samples=4):
        """Paints the pixels whose area is mostly inside, and outlines them where they meet
        the outside; inside(x, y) takes pixel coordinates with pixel centres at .5."""
        mask = [[False] * self.width for _ in range(self.height)]
        for y in range(self.height):
            for x in range(self.width):
                hits = sum(inside(x + (i + 0.5) / samples, y + (j + 0.5) / samples)
                           for i in range(samples) for j in range(samples))
                mask[y][x] = hits * 2 > samples * samples
        for y in range(self.height):
            for x in range(self.width):
                if not mask[y][x]:
                    continue
                edge = any(not (0 <= x + dx < self.width and 0 <= y + dy < self.height
                                and mask[y + dy][x + dx])
                           for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1)))
                self.put(x, y, outline if edge else body)

    def art(self, rows, left=0, top=0):
        """Copies a character map; blanks leave the pixel as it is."""
        for dy, row in enumerate(rows):
            for dx, char in enumerate(row):
                if char != " ":
                    self.put(left + dx, top + dy, char)

    def save(self, path):
        stride = ((self.width * 4 + 31) // 32) * 4
        data = bytearray()
        for row in reversed(self.pixels):
            line = bytearray(stride)
            for x, char in enumerate(row):
                line[x // 2] |= INDEX[char] << (0 if x % 2 else 4)
            data += line
        palette = b"".join(struct.pack("<BBBB", b, g, r, 0) for _, (r, g, b) in PALETTE)
        offset = 14 + 40 + len(palette)
        header = struct.pack("<2sIHHI", b"BM", offset + len(data), 0, 0, offset)
        info = struct.pack("<IiiHHIIiiII", 40, self.width, self.height, 1, 4, 0, len(data),
                           3780, 3780, 16, 16)
        with open(path, "wb") as out:
            out.write(header + info + palette + data)


def task_icon():
    p = Picture(16, 16)
    p.art([
        "   kkk   ",
        " kkkwkkk ",
        " kwwgggk ",
        "kkwgkggkk",
        "kwgk kggk",
        "kkggkggkk",
        " kgggggk ",
        " kkkgkkk ",
        "   kkk   ",
    ], 7, 7)
    p.art([
        "    kkk    ",
        " kk kgk kk ",
        " kgkkwgkkgk",
        "  kwwgggk  ",
        "kkkwgkggkkk",
        "kwggk kgggk",
        "kkkggkggkkk",
        "  kgggggk  ",
        " kgkkgkkgk ",
        " kk kgk kk ",
        "    kkk    ",
    ])
    return p


def clock_icon():
    p = Picture(16, 16)
    p.shape(lambda x, y: math.hypot(x - 8, y - 8) <= 7.6, "w", "k")
    for x, y in ((7, 2), (8, 2), (13, 7), (13, 8), (7, 13), (8, 13), (2, 7), (2, 8)):
        p.put(x, y, "g")
    p.line(8, 8, 8, 4, "k")
    p.line(7, 4, 7, 8, "k")
    p.line(8, 8, 11, 8, "k")
    p.line(8, 9, 11, 9, "r")
    p.put(7, 8, "k")
    return p


def event_icon():
    p = Picture(16, 16)
    p.art([
        "                ",
        "            y   ",
        "         y  y  y",
        "          y y y ",
        "kkkkkkkkkk yyy  ",
        "knnnnnnnnkyyyyyy",
        "knnnnnnnnk yyy  ",
        "kwwwwwwwwky y y ",
        "kwwwwwwwwk  y  y",
        "kwggggggwk  y   ",
        "kwwwwwwwwkg     ",
        "kwggggwwwkg     ",
        "kwwwwwwwwkg     ",
        "kwggggggwkg     ",
        "kkkkkkkkkkg     ",
        " gggggggggg     ",
    ])
    p.put(8, 5, "w")
    return p


def home_icon():
    p = Picture(16, 16)
    p.art([
        "                ",
        "       kk  kkk  ",
        "      krrk kmk  ",
        "     krrrrkkmk  ",
        "    krrrrrrkmk  ",
        "   krrrrrrrrkk  ",
        "  krrrrrrrrrrk  ",
        " krrrrrrrrrrrrk ",
        "kkkkkkkkkkkkkkkk",
        " kyyyyyyyyyyyyk ",
        " kykkkkyykkkkyk ",
        " kykcbkyykmmkyk ",
        " kykbckyykmmkyk ",
        " kykkkkyykmykyk ",
        " kyyyyyyykmmkyk ",
        " kkkkkkkkkkkkkk ",
    ])
    return p


def remind_icon():
    p = Picture(16, 16)
    p.art([
        "       kk       ",
        "      kyyk      ",
        "  k  kyyyyk  k  ",
        " k  kyywyyyk  k ",
        " k  kywyyyyk  k ",
        "k  kyywyyyyok  k",
        "k  kyywyyyyok  k",
        "k  kyyyyyyyok  k",
        " k kyyyyyyyok k ",
        " k kyyyyyyyok k ",
        "  kyyyyyyyyyok  ",
        " kyyyyyyyyyyyok ",
        " kkkkkkkkkkkkkk ",
        "      kggk      ",
        "       kk       ",
        "                ",
    ])
    return p


def private_icon():
    p = Picture(16, 16)
    p.art([
        "                ",
        "                ",
        "                ",
        "  kkkk          ",
        " kyyyyk         ",
        "kyy..yyk        ",
        "ky.  .ykkkkkkkkk",
        "ky.  .yyyyyyyyyk",
        "kyy..yyoookooook",
        " kyyyyok  kyk yk",
        "  kkkk     k  k ",
        "                ",
        "                ",
        "                ",
        "                ",
        "                ",
    ])
    p.art(["kk", "kk"], 3, 6)
    p.rect(3, 6, 5, 8, ".")
    return p


def gauge(level):
    """A level gauge 8 wide and 16 high, filled yellow from the bottom up to level rows."""
    p = Picture(8, 16)
    p.frame(1, 0, 7, 16, "k")
    p.rect(2, 1, 6, 15, ".")
    p.rect(2, 15 - level, 6, 15, "y")
    if level < 14:
        p.line(2, 15 - level, 5, 15 - level, "o")
    for y in (4, 8, 12):
        p.put(2, y, "g" if 15 - level > y else "o")
    return p


def arrow(pointing_left):
    p = Picture(10, 10, "w")
    for step in range(4):
        x = 3 + step if pointing_left else 6 - step
        p.rect(x, 4 - step, x + 1, 6 + step, "k")
    return p


def schedule_picture(size):
    """A little schedule grid: a heading row, a time column, yellow working-hour rows and two
    task markers; used by the toolbox (24) and the about box (32)."""
    p = Picture(size, size, ".")
    cell = 4 if size < 32 else 5
    left = cell + 2
    top = cell + 1
    p.frame(0, 0, size, size, "k")
    p.rect(1, 1, size - 1, top, ".")
    p.rect(1, top, left, size - 1, ".")
    columns = 2 if size < 32 else 3
    width = (size - 1 - left) // columns
    for row_top in range(top, size - 1, cell):
        yellow = top + cell <= row_top < size - 1 - cell
        p.rect(left, row_top, size - 1, min(row_top + cell, size - 1), "y" if yellow else "o")
        p.line(left, row_top, size - 2, row_top, "g")
        p.put(2, row_top, "k")
        p.put(3, row_top, "k")
    for c in range(columns):
        x = left + c * width
        p.line(x, 1, x, size - 2, "k")
        p.line(x + 2, top // 2, x + width - 3, top // 2, "g")
    p.line(1, top, size - 2, top, "k")
    markers = [(0, 2, 3), (1, 1, 2)] if size < 32 else [(0, 2, 4), (1, 1, 2), (2, 3, 5)]
    for column, first, last in markers:
        x0 = left + column * width + 2
        y0 = top + first * cell + 1
        p.rect(x0, y0, x0 + width - 3, top + last * cell, "w")
        p.frame(x0, y0, x0 + width - 3, top + last * cell, "n")
        p.line(x0 + 1, y0 + 1, x0 + 1, top + last * cell - 2, "b")
    if size >= 32:
        p.art(["  k", " kk", "kkk", " kk", "  k"], 2, 1)
        p.art(["k  ", "kk ", "kkk", "kk ", "k  "], size - 5, 1)
    return p


PICTURES = {
    "BMP_TASK": task_icon,
    "BMP_HANDSHAK": clock_icon,
    "BMP_EVENT": event_icon,
    "BMP_HOME": home_icon,
    "BMP_REMIND": remind_icon,
    "BMP_PRIVATE": private_icon,
    "BMP_LOW": lambda: gauge(4),
    "BMP_NORMAL": lambda: gauge(7),
    "BMP_HIGH": lambda: gauge(12),
    "PREVBUTTON": lambda: arrow(True),
    "NEXTBUTTON": lambda: arrow(False),
    "TOOLBOX": lambda: schedule_picture(24),
    "ABOUTBITMAP": lambda: schedule_picture(32),
}


def main():
    folder = os.path.dirname(os.path.abspath(__file__))
    for name, draw in PICTURES.items():
        draw().save(os.path.join(folder, name.lower() + ".bmp"))


if __name__ == "__main__":
    main()
