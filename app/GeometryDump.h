#pragma once

class QWidget;

// A test aid: with the environment variable KELVANE_GEOMETRY_FILE naming a
// file, the program writes into it where the window and each of its named
// controls lie on the screen, one a line: name, name of its container,
// left, top, width and height in pixels. The screenshot test compares these
// with what the screen shows. Without the variable nothing happens.
class GeometryDump
{
public:
    static constexpr const char* Variable = "KELVANE_GEOMETRY_FILE";

    static void writeIfAsked(const QWidget& window);
};
