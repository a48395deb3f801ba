#!/usr/bin/env python3
"""Writes Kelvane's toolbar images and program icon as XPM files.

Every image uses only the 16 colours of the classic VGA palette; the light
grey C0C0C0 is the background, which the program draws transparent. The
toolbar images are drawn pixel by pixel below, and their 32 x 32 forms for
screens at twice the resolution from a few shapes each; the program icon is
drawn from shapes so that its 64 x 64, 32 x 32 and 16 x 16 forms match. Run it
from this folder after changing a drawing and commit the XPM files with it.
"""

PALETTE = {
    " ": "#C0C0C0",  # background, drawn transparent
    ".": "#000000",
    "r": "#800000",
    "g": "#008000",
    "o": "#808000",
    "b": "#000080",
    "m": "#800080",
    "t": "#008080",
    "+": "#808080",
    "R": "#FF0000",
    "G": "#00FF00",
    "Y": "#FFFF00",
    "B": "#0000FF",
    "M": "#FF00FF",
    "C": "#00FFFF",
    "@": "#FFFFFF",
}

NEW = [
    "                ",
    "   .......      ",
    "   .@@@@@..     ",
    "   .@@@@@.+.    ",
    "   .@@@@@.++.   ",
    "   .@@@@@....   ",
    "   .@@@@@@@@.   ",
    "   .@@@@@@@@.   ",
    "   .@@@@@@@@.   ",
    "   .@@@@@@@@.   ",
    "   .@@@@@@@@.   ",
    "   .@@@@@@@@.   ",
    "   .@@@@@@@@.   ",
    "   .@@@@@@@@.   ",
    "   ..........   ",
    "                ",
]

CUT = [
    "                ",
    "    .      .    ",
    "    .      .    ",
    "     .    .     ",
    "     .    .     ",
    "      .  .      ",
    "      .  .      ",
    "       ..       ",
    "       ++       ",
    "      b  b      ",
    "   bbb    bbb   ",
    "  b   b  b   b  ",
    "  b   b  b   b  ",
    "  b   b  b   b  ",
    "   bbb    bbb   ",
    "                ",
]

COPY = [
    "                ",
    " ........       ",
    " .@@@@@@.       ",
    " .@bbbb@.       ",
    " .@@@@@@.       ",
    " .@bbb......... ",
    " .@@@@.@@@@@@@. ",
    " .@bbb.@bbbbb@. ",
    " .@@@@.@@@@@@@. ",
    " .@bbb.@bbbbb@. ",
    " ......@@@@@@@. ",
    "      .@bbbbb@. ",
    "      .@@@@@@@. ",
    "      .@bbbbb@. ",
    "      ......... ",
    "                ",
]

PASTE = [
    "                ",
    "    ....        ",
    " ...+@@+...     ",
    " .oo....oo.     ",
    " .oooooooo.     ",
    " .oooooooo.     ",
    " .oooo......... ",
    " .oooo.@@@@@@@. ",
    " .oooo.@bbbbb@. ",
    " .oooo.@@@@@@@. ",
    " .oooo.@bbbbb@. ",
    " .oooo.@@@@@@@. ",
    " .oooo.@bbbbb@. ",
    " .oooo.@@@@@@@. ",
    " ......@@@@@@@. ",
    "      ......... ",
]


class Canvas:
    def __init__(self, size):
        self.size = size
        self.rows = [[" "] * size for _ in range(size)]

    def set(self, x, y, colour):
        if 0 <= x < self.size and 0 <= y < self.size:
            self.rows[y][x] = colour

    def fill(self, left, top, right, bottom, colour):
        for y in range(top, bottom + 1):
            for x in range(left, right + 1):
                self.set(x, y, colour)

    def frame(self, left, top, right, bottom, colour):
        for x in range(left, right + 1):
            self.set(x, top, colour)
            self.set(x, bottom, colour)
        for y in range(top, bottom + 1):
            self.set(left, y, colour)
            self.set(right, y, colour)

    def line(self, x0, y0, x1, y1, colour):
        """A straight line from one end to the other, both ends included."""
        steps = max(abs(x1 - x0), abs(y1 - y0))
        for i in range(steps + 1):
            x = x0 + round((x1 - x0) * i / steps) if steps else x0
            y = y0 + round((y1 - y0) * i / steps) if steps else y0
            self.set(x, y, colour)

    def ring(self, cx, cy, outer, inner, colour):
        """The pixels between two circles about the same centre."""
        for y in range(self.size):
            for x in range(self.size):
                distance = ((x - cx) ** 2 + (y - cy) ** 2) ** 0.5
                if inner <= distance <= outer:
                    self.set(x, y, colour)

    def lines(self):
        return ["".join(row) for row in self.rows]


def page(canvas, left, top, right, bottom, paper, ink, step):
    """A sheet with a black edge and lines of text every step pixels."""
    canvas.fill(left, top, right, bottom, paper)
    canvas.frame(left, top, right, bottom, ".")
    for y in range(top + step, bottom - 1, step):
        canvas.fill(left + 2, y, right - 2, y, ink)


def arrow(canvas, tail, tip, middle, shaft, head):
    """A red arrow pointing right, outlined in dark red."""
    half = shaft // 2
    head_left = tip - head
    canvas.fill(tail, middle - half, head_left, middle - half + shaft - 1, "R")
    for column in range(head + 1):
        reach = head - column
        canvas.fill(head_left + column, middle - reach, head_left + column, middle + reach, "R")
        canvas.set(head_left + column, middle - reach - 1, "r")
        canvas.set(head_left + column, middle + reach + 1, "r")
    canvas.fill(tail, middle - half - 1, head_left, middle - half - 1, "r")
    canvas.fill(tail, middle - half + shaft, head_left, middle - half + shaft, "r")
    canvas.fill(tail - 1, middle - half - 1, tail - 1, middle - half + shaft, "r")


def program_icon(size):
    """The old page on the left, the new one on the right, an arrow across."""
    canvas = Canvas(size)
    if size == 64:
        page(canvas, 2, 6, 27, 57, "+", "@", 5)
        page(canvas, 36, 6, 61, 57, "@", "b", 5)
        arrow(canvas, tail=10, tip=55, middle=31, shaft=10, head=12)
    elif size == 32:
        page(canvas, 1, 3, 13, 28, "+", "@", 3)
        page(canvas, 18, 3, 30, 28, "@", "b", 3)
        arrow(canvas, tail=5, tip=27, middle=15, shaft=5, head=6)
    else:
        page(canvas, 0, 1, 6, 14, "+", "@", 2)
        page(canvas, 9, 1, 15, 14, "@", "b", 2)
        arrow(canvas, tail=3, tip=14, middle=7, shaft=3, head=3)
    return canvas.lines()


def new_sheet_32():
    """A blank sheet with its top right corner folded down."""
    canvas = Canvas(32)
    left, top, right, bottom, fold = 6, 2, 25, 29, 7
    corner = right - fold
    canvas.fill(left, top, right, bottom, "@")
    for y in range(top, top + fold):
        canvas.fill(corner + (y - top) + 1, y, right, y, " ")
        canvas.fill(corner + 1, y, corner + (y - top), y, "+")
    canvas.line(left, top, corner, top, ".")
    canvas.line(corner, top, right, top + fold, ".")
    canvas.line(corner, top, corner, top + fold, ".")
    canvas.line(corner, top + fold, right, top + fold, ".")
    canvas.line(right, top + fold, right, bottom, ".")
    canvas.line(left, bottom, right, bottom, ".")
    canvas.line(left, top, left, bottom, ".")
    return canvas.lines()


def scissors_32():
    """Two black blades crossing at a grey pivot, with blue handles."""
    canvas = Canvas(32)
    for offset in (0, 1):
        canvas.line(9 + offset, 2, 15 + offset, 16, ".")
        canvas.line(22 - offset, 2, 16 - offset, 16, ".")
    canvas.fill(15, 16, 16, 17, "+")
    for offset in (0, 1):
        canvas.line(14 + offset, 18, 10 + offset, 22, "b")
        canvas.line(17 - offset, 18, 21 - offset, 22, "b")
    canvas.ring(8, 25, 4.6, 2.6, "b")
    canvas.ring(23, 25, 4.6, 2.6, "b")
    return canvas.lines()


def two_sheets_32():
    """A written sheet half covering another."""
    canvas = Canvas(32)
    page(canvas, 2, 2, 17, 21, "@", "b", 3)
    page(canvas, 12, 10, 29, 29, "@", "b", 3)
    return canvas.lines()


def clipboard_32():
    """A brown clipboard with its grey clip and a written sheet on it."""
    canvas = Canvas(32)
    canvas.fill(2, 4, 21, 30, "o")
    canvas.frame(2, 4, 21, 30, ".")
    canvas.fill(8, 1, 15, 6, "+")
    canvas.fill(10, 2, 13, 3, "@")
    canvas.frame(8, 1, 15, 6, ".")
    page(canvas, 12, 12, 29, 30, "@", "b", 3)
    return canvas.lines()


def write_xpm(name, rows):
    size = len(rows)
    assert all(len(row) == size for row in rows), name
    used = sorted({pixel for row in rows for pixel in row})
    with open(name + ".xpm", "w", encoding="ascii", newline="\n") as out:
        identifier = name.replace("-", "_")
        out.write("/* XPM */\n")
        out.write(f"static const char *{identifier}[] = {{\n")
        out.write(f'"{size} {size} {len(used)} 1",\n')
        for pixel in used:
            out.write(f'"{pixel} c {PALETTE[pixel]}",\n')
        out.write(",\n".join(f'"{row}"' for row in rows))
        out.write("};\n")


if __name__ == "__main__":
    write_xpm("toolbar-new", NEW)
    write_xpm("toolbar-cut", CUT)
    write_xpm("toolbar-copy", COPY)
    write_xpm("toolbar-paste", PASTE)
    write_xpm("toolbar-new-32", new_sheet_32())
    write_xpm("toolbar-cut-32", scissors_32())
    write_xpm("toolbar-copy-32", two_sheets_32())
    write_xpm("toolbar-paste-32", clipboard_32())
    write_xpm("kelvane-64", program_icon(64))
    write_xpm("kelvane-32", program_icon(32))
    write_xpm("kelvane-16", program_icon(16))
