#!/usr/bin/env python3
"""Starts the real kelvane program on a virtual X server with a window manager
under Qt's default style, "fusion" and "windows", grabs the screen and checks
each frame of the main window as drawn: its top line runs through its
caption, below no control. Then it opens Hilfe > Info from the keyboard and
checks that the about box, frame and all, stands centred over the main
window's frame. Usage: frames_screenshot_test.py PROGRAM (needs Xvfb,
ImageMagick, openbox and xdotool)."""

import os
import select
import signal
import socket
import subprocess
import sys
import tempfile
import time

TIMEOUT = 20  # seconds for each wait


class Failure(Exception):
    pass


def wait_for(condition, what):
    deadline = time.monotonic() + TIMEOUT
    while not condition():
        if time.monotonic() > deadline:
            raise Failure(what)
        time.sleep(0.1)


def stop(process):
    """A polite end lets Xvfb remove its socket."""
    process.terminate()
    try:
        process.wait(timeout=TIMEOUT)
    except subprocess.TimeoutExpired:
        process.kill()
        process.wait()


def connects(path):
    with socket.socket(socket.AF_UNIX) as probe:
        return probe.connect_ex(path) == 0


def start_xvfb():
    """A server on a free display of its choice. Its pipe stays open while it
    runs, as a write to a closed pipe would end it; -noreset keeps it usable
    after the probe and each program leave."""
    read_end, write_end = os.pipe()
    server = subprocess.Popen(["Xvfb", "-displayfd", str(write_end), "-nolisten", "tcp",
                               "-noreset", "-screen", "0", "800x600x24"],
                              pass_fds=(write_end,), stderr=subprocess.DEVNULL)
    os.close(write_end)
    number = b""
    try:
        while not number.endswith(b"\n"):
            if not select.select([read_end], [], [], TIMEOUT)[0]:
                raise Failure("Xvfb named no display")
            number += os.read(read_end, 16)
        number = number.decode().strip()
        wait_for(lambda: connects(f"/tmp/.X11-unix/X{number}"), "Xvfb took no connection")
    except Failure:
        stop(server)
        raise
    return server, ":" + number


def grab(display):
    """The screen as a function of (x, y) giving the pixel's bytes."""
    data = subprocess.run(["import", "-display", display, "-window", "root", "-depth", "8",
                           "ppm:-"], check=True, capture_output=True, timeout=TIMEOUT).stdout
    magic, width, _, _, pixels = data.split(maxsplit=4)
    assert magic == b"P6"
    return lambda x, y: pixels[(y * int(width) + x) * 3:(y * int(width) + x) * 3 + 3]


def check_frame(pixel, name, places):
    _, left, top, width, height = places[name]
    controls = [place[1:] for place in places.values() if place[0] == name]
    column = left + width - 8  # right of the caption, where no control reaches
    drawn = lambda x, y: pixel(x, y) != pixel(column, top)
    line = next((y for y in range(top, top + height) if drawn(column, y)), None)
    if line is None:
        raise Failure(f"{name}: no line drawn")
    first_control = min(y for _, y, _, _ in controls)
    caption = [y for y in range(top, first_control)
               if any(drawn(x, y) for x in range(left + 8, left + 40))]
    if not caption or not caption[0] < line < caption[-1]:
        raise Failure(f"{name}: the line in row {line - top} misses the caption")
    # The line is two pixels high: dark, then light.
    if first_control <= line + 1:
        raise Failure(f"{name}: a control at row {first_control - top} meets the line in row "
                      f"{line - top}")
    return line - top


def start_window_manager(display, home):
    """openbox draws the frames whose size the about box must allow for, and
    says how thick they are in each window's _NET_FRAME_EXTENTS."""
    manager = subprocess.Popen(["openbox", "--sm-disable"], stdout=subprocess.DEVNULL,
                               stderr=subprocess.DEVNULL,
                               env=dict(os.environ, DISPLAY=display, HOME=home,
                                        XDG_CONFIG_HOME=home))
    try:
        wait_for(lambda: b"_NET_SUPPORTING_WM_CHECK(WINDOW)" in x_tool(
            display, "xprop", "-root", "_NET_SUPPORTING_WM_CHECK") or manager.poll() is not None,
            "openbox did not start")
        if manager.poll() is not None:
            raise Failure("openbox ended at once")
    except Failure:
        stop(manager)
        raise
    return manager


def x_tool(display, *command):
    return subprocess.run(command, env=dict(os.environ, DISPLAY=display), capture_output=True,
                          timeout=TIMEOUT).stdout


def window_id(display, name):
    ids = x_tool(display, "xdotool", "search", "--onlyvisible", "--name", name).split()
    return ids[0].decode() if ids else None


def client_of(display, window):
    """(left, top, width, height) of the window without its frame, as the X
    server has it (xdotool's own geometry counts the frame twice)."""
    info = dict(line.strip().split(":", 1) for line in x_tool(
        display, "xwininfo", "-id", window).decode().splitlines() if ":" in line)
    return tuple(int(info[key]) for key in ("Absolute upper-left X", "Absolute upper-left Y",
                                            "Width", "Height"))


def frame_of(display, window):
    """(left, top, width, height) of the window with its frame."""
    x, y, width, height = client_of(display, window)
    extents = x_tool(display, "xprop", "-id", window, "_NET_FRAME_EXTENTS").decode()
    if "=" not in extents:
        raise Failure(f"window {window} has no frame extents: {extents}")
    left, right, top, bottom = (int(n) for n in extents.split("=")[1].split(","))
    return x - left, y - top, width + left + right, height + top + bottom


def moved_with_window(display, places):
    """The places shifted by how far the window has moved since the program
    wrote them."""
    main = window_id(display, "^Kelvane$")
    if main is None:
        raise Failure("no main window found")
    x, y, _, _ = client_of(display, main)
    _, left, top, _, _ = places["frmMain"]
    dx, dy = x - left, y - top
    return {name: (container, x + dx, y + dy, width, height)
            for name, (container, x, y, width, height) in places.items()}


def check_about_box(display):
    main = window_id(display, "^Kelvane$")
    if main is None:
        raise Failure("no main window found")
    x_tool(display, "xdotool", "windowactivate", "--sync", main)
    x_tool(display, "xdotool", "key", "--clearmodifiers", "alt+h")
    time.sleep(0.3)
    x_tool(display, "xdotool", "key", "f")
    wait_for(lambda: window_id(display, "^About Kelvane$") is not None,
             "Hilfe > Info showed no about box")
    about = window_id(display, "^About Kelvane$")
    # The window manager frames the box a moment after it is mapped.
    deadline = time.monotonic() + TIMEOUT
    while True:
        try:
            outer, box = frame_of(display, main), frame_of(display, about)
            centre = lambda f: (2 * f[0] + f[2], 2 * f[1] + f[3])  # doubled
            offset = [(b - o) / 2 for b, o in zip(centre(box), centre(outer))]
            if all(abs(d) <= 1 for d in offset):
                break
            raise Failure(f"the about box's frame {box} stands {offset} off the centre of "
                          f"the main window's frame {outer}")
        except Failure:
            if time.monotonic() > deadline:
                raise
            time.sleep(0.2)
    x_tool(display, "xdotool", "key", "Escape")
    return offset


def check_program(program, display, style):
    with tempfile.TemporaryDirectory() as home:
        dump, log = os.path.join(home, "geometry.txt"), os.path.join(home, "program.log")
        env = dict(os.environ, DISPLAY=display, QT_QPA_PLATFORM="xcb", HOME=home,
                   XDG_CONFIG_HOME=home, XDG_RUNTIME_DIR=home, KELVANE_GEOMETRY_FILE=dump,
                   QT_STYLE_OVERRIDE=style)
        with open(log, "w") as output:
            process = subprocess.Popen([program], env=env, stdout=output, stderr=output)
        try:
            wait_for(lambda: os.path.exists(dump) or process.poll() is not None,
                     "the program showed no window")
            if process.poll() is not None:
                raise Failure(f"the program ended with {process.returncode}")
            with open(dump) as lines:
                places = {name: (container, *map(int, numbers))
                          for name, container, *numbers in map(str.split, lines)}
            # The window may still be painting when it has said where it lies,
            # and the window manager may move it into its frame afterwards.
            deadline = time.monotonic() + TIMEOUT
            while True:
                try:
                    pixel = grab(display)
                    places = moved_with_window(display, places)
                    rows = [check_frame(pixel, name, places)
                            for name in ("fraDateiwahl", "fraHTMLCode")]
                    break
                except Failure:
                    if time.monotonic() > deadline:
                        raise
                    time.sleep(0.2)
            print(f"style {style or 'default'}: frame lines in rows {rows}: pass")
            offset = check_about_box(display)
            print(f"style {style or 'default'}: about box centred ({offset}): pass")
        except Failure as failure:
            with open(log, errors="replace") as output:
                raise Failure(f"style {style or 'default'}: {failure}\n{output.read()}") from None
        finally:
            stop(process)


def main():
    # ctest ends a test that runs too long with SIGTERM; the servers go too.
    signal.signal(signal.SIGTERM, lambda *_: sys.exit("stopped"))
    try:
        server, display = start_xvfb()
        try:
            with tempfile.TemporaryDirectory() as home:
                manager = start_window_manager(display, home)
                try:
                    for style in ("", "fusion", "windows"):
                        check_program(sys.argv[1], display, style)
                finally:
                    stop(manager)
        finally:
            stop(server)
    except Failure as failure:
        sys.exit(f"FAIL: {failure}")


if __name__ == "__main__":
    main()
