#!/usr/bin/env python3
"""Starts the real kelvane program on a virtual X server, grabs the screen and
checks the frames of the main window as drawn: each frame's top line runs
through its caption, and no control of the frame touches any of its lines.

Usage: frames_screenshot_test.py PROGRAM. Needs Xvfb and ImageMagick's import.
The program is run once under Qt's default style and once under "windows".
"""

import os
import select
import signal
import socket
import subprocess
import sys
import tempfile
import time

TIMEOUT = 20  # seconds for each wait
FRAMES = ("fraDateiwahl", "fraHTMLCode")


class Failure(Exception):
    pass


def start_xvfb():
    """A virtual X server on a display number it picks itself."""
    read_end, write_end = os.pipe()
    server = subprocess.Popen(
        ["Xvfb", "-displayfd", str(write_end), "-nolisten", "tcp", "-noreset", "-screen", "0",
         "800x600x24"],
        pass_fds=(write_end,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    os.close(write_end)
    # The number comes in pieces; the pipe stays open while the server runs,
    # since a write to a closed pipe would end it.
    number = b""
    deadline = time.monotonic() + TIMEOUT
    while not number.endswith(b"\n") and time.monotonic() < deadline:
        ready, _, _ = select.select([read_end], [], [], max(0, deadline - time.monotonic()))
        piece = os.read(read_end, 16) if ready else b""
        if not piece:
            break
        number += piece
    number = number.decode().strip()
    # The server names its display before it takes connections.
    deadline = time.monotonic() + TIMEOUT
    while number and not accepts_connections(f"/tmp/.X11-unix/X{number}"):
        if time.monotonic() > deadline:
            number = ""
        time.sleep(0.05)
    if not number:
        stop(server)
        raise Failure("Xvfb did not open its display")
    return server, ":" + number


def accepts_connections(path):
    with socket.socket(socket.AF_UNIX, socket.SOCK_STREAM) as probe:
        try:
            probe.connect(path)
            return True
        except OSError:
            return False


def stop(process):
    """Ends a process that was started here; a polite end lets Xvfb remove
    its socket."""
    process.terminate()
    try:
        process.wait(timeout=TIMEOUT)
    except subprocess.TimeoutExpired:
        process.kill()
        process.wait()


def read_geometry(path, program):
    deadline = time.monotonic() + TIMEOUT
    while not os.path.exists(path):
        if program.poll() is not None:
            raise Failure(f"the program ended with {program.returncode} before showing its window")
        if time.monotonic() > deadline:
            raise Failure("the program did not write where its controls lie")
        time.sleep(0.1)
    places = {}
    with open(path, encoding="utf-8") as dump:
        for line in dump:
            name, container, *numbers = line.split()
            places.setdefault(name, []).append((container, *map(int, numbers)))
    return places


def grab(display):
    """The screen as rows of (r, g, b) tuples."""
    data = subprocess.run(["import", "-display", display, "-window", "root", "-depth", "8", "ppm:-"],
                          check=True, capture_output=True, timeout=TIMEOUT).stdout
    fields = data.split(maxsplit=4)
    if fields[0] != b"P6" or fields[3] != b"255":
        raise Failure("the grab is no 8-bit PPM picture")
    width, height, pixels = int(fields[1]), int(fields[2]), fields[4]
    return [[tuple(pixels[(y * width + x) * 3:(y * width + x) * 3 + 3]) for x in range(width)]
            for y in range(height)]


def check_frame(screen, name, places):
    _, left, top, width, height = places[name][0]
    controls = [(x, y, w, h) for container, x, y, w, h in
                (place for entries in places.values() for place in entries) if container == name]
    if not controls:
        raise Failure(f"{name}: no controls listed")
    background = screen[top][left + width - 8]

    def drawn(x, y):
        return screen[y][x] != background

    # The top line, right of the caption, where no control reaches.
    column = left + width - 8
    line = next((y for y in range(top, top + height) if drawn(column, y)), None)
    if line is None:
        raise Failure(f"{name}: no frame line drawn")
    first_control = min(y for _, y, _, _ in controls)
    caption_rows = [y for y in range(top, first_control)
                    if any(drawn(x, y) for x in range(left + 8, left + 40))
                    and not all(drawn(x, y) for x in range(left + 8, left + 40))]
    if not caption_rows or not caption_rows[0] < line < caption_rows[-1]:
        raise Failure(f"{name}: the line in row {line - top} does not run through the caption "
                      f"(rows {caption_rows[0] - top if caption_rows else '-'} to "
                      f"{caption_rows[-1] - top if caption_rows else '-'})")
    middle = top + height // 2
    left_line = next(x for x in range(left, left + width) if drawn(x, middle))
    right_line = next(x for x in range(left + width - 1, left, -1) if drawn(x, middle))
    bottom_line = next(y for y in range(top + height - 1, top, -1) if drawn(column, y))
    for x, y, w, h in controls:
        # Each line is two pixels wide: dark, then light.
        if not (y > line + 1 and x > left_line + 1 and x + w - 1 < right_line - 1
                and y + h - 1 < bottom_line - 1):
            raise Failure(f"{name}: a control at {x - left},{y - top} size {w}x{h} meets the "
                          f"frame line (rows {line - top} and {bottom_line - top}, "
                          f"columns {left_line - left} and {right_line - left})")
    return line - top


def check_program(program_path, display, style):
    with tempfile.TemporaryDirectory() as home:
        dump = os.path.join(home, "geometry.txt")
        env = dict(os.environ, DISPLAY=display, QT_QPA_PLATFORM="xcb", HOME=home,
                   XDG_CONFIG_HOME=os.path.join(home, "config"),
                   XDG_DATA_HOME=os.path.join(home, "data"),
                   XDG_RUNTIME_DIR=home, KELVANE_GEOMETRY_FILE=dump)
        env.pop("QT_STYLE_OVERRIDE", None)
        if style:
            env["QT_STYLE_OVERRIDE"] = style
        log_path = os.path.join(home, "program.log")
        with open(log_path, "w", encoding="utf-8") as log:
            program = subprocess.Popen([program_path], env=env, stdout=log, stderr=log)
        try:
            places = read_geometry(dump, program)
            # The window may still be painting when it has said where it is.
            deadline = time.monotonic() + TIMEOUT
            while True:
                try:
                    screen = grab(display)
                    rows = [check_frame(screen, name, places) for name in FRAMES]
                    print(f"style {style or 'default'}: frame lines in rows {rows}: pass")
                    return
                except Failure:
                    if time.monotonic() > deadline:
                        raise
                    time.sleep(0.2)
        except Failure as failure:
            with open(log_path, encoding="utf-8", errors="replace") as log:
                raise Failure(f"style {style or 'default'}: {failure}\n{log.read()}") from None
        finally:
            stop(program)


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    # ctest ends a test that runs too long with SIGTERM; the servers go too.
    signal.signal(signal.SIGTERM, lambda *_: sys.exit("stopped"))
    try:
        server, display = start_xvfb()
    except Failure as failure:
        sys.exit(f"FAIL: {failure}")
    try:
        for style in ("", "windows"):
            check_program(sys.argv[1], display, style)
    except Failure as failure:
        sys.exit(f"FAIL: {failure}")
    finally:
        stop(server)


if __name__ == "__main__":
    main()
