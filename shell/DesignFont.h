#pragma once

class QWidget;

// The window layouts were drawn for an 8-point dialog font. Windows take that
// size in the platform's own font family. Where a one-line caption still needs
// more room than its designed width (the family may run wider), the control
// grows into the free space beside it, and where there is none, the caption
// steps down in size, rather than be cut off.
class DesignFont
{
public:
    static constexpr double PointSize = 8;
    static constexpr double SmallestPointSize = 7;

    // Before the window's controls are made, so that they inherit the size.
    static void apply(QWidget& window);
    // After the controls have their captions.
    static void widenToFit(QWidget& container);
};
