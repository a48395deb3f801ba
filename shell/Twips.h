#pragma once

#include <QString>
#include <cmath>

// Layouts and stored window positions are in twips; at 96 dpi a pixel is 15
// twips. Qt scales the pixels on high-resolution screens.
inline constexpr double TwipsPerPixel = 15.0;

inline int twipsToPixels(double twips)
{
    return static_cast<int>(std::lround(twips / TwipsPerPixel));
}

inline double pixelsToTwips(int pixels)
{
    return pixels * TwipsPerPixel;
}

// The toolbar's height. Layouts count control tops from the top of the
// client area, which the toolbar covers; in a QMainWindow the toolbar lies
// outside the central widget, so tops there are this much smaller.
inline constexpr double ToolBarHeightTwips = 420;

// Names a control after its documented name and sets its geometry from a
// layout in twips.
template <typename Widget>
Widget* place(Widget* widget, const char* name, double left, double top, double width,
              double height)
{
    widget->setObjectName(QString::fromLatin1(name));
    widget->setGeometry(twipsToPixels(left), twipsToPixels(top), twipsToPixels(width),
                        twipsToPixels(height));
    return widget;
}

// The same for a control whose top counts from the client area's top edge,
// placed in the central widget below the toolbar.
template <typename Widget>
Widget* placeBelowToolBar(Widget* widget, const char* name, double left, double top, double width,
                          double height)
{
    return place(widget, name, left, top - ToolBarHeightTwips, width, height);
}
