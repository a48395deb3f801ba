#!/usr/bin/env python3
"""Writes Kelvane's toolbar images and program icon as XPM files.

Every image uses only the 16 colours of the classic VGA palette; the light
grey C0C0C0 is the background, which the program draws transparent. The
toolbar images are drawn pixel by pixel below; the program icon is drawn from
a few shapes so that its 32 x 32 and 16 x 16 forms match. Run it from this
folder after changing a drawing and commit the XPM files with it.
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
    if size == 32:
        page(canvas, 1, 3, 13, 28, "+", "@", 3)
        page(canvas, 18, 3, 30, 28, "@", "b", 3)
        arrow(canvas, tail=5, tip=27, middle=15, shaft=5, head=6)
    else:
        page(canvas, 0, 1, 6, 14, "+", "@", 2)
        page(canvas, 9, 1, 15, 14, "@", "b", 2)
        arrow(canvas, tail=3, tip=14, middle=7, shaft=3, head=3)
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
    write_xpm("kelvane-32", program_icon(32))
    write_xpm("kelvane-16", program_icon(16))
