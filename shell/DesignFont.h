#pragma once

#include <QFont>
#include <QStringList>

class QWidget;

// The window layouts were drawn for an 8-point font with narrow metrics. All
// captions of the windows use one font: the first installed family of
// families() at PointSize. With the first of them every caption is whole
// within its designed width, so the controls keep their designed sizes.
class DesignFont
{
public:
    static constexpr double PointSize = 8;

    // The families in the order of preference; the program's package
    // depends on the first one.
    static QStringList families();
    // The design font in the first installed family, or in the platform's
    // own family where none of them is installed.
    static QFont font();

    // Before the window's controls are made, so that they inherit the font.
    static void apply(QWidget& window);
    // After the controls have their captions. A family that runs wider than
    // the design's leaves a one-line caption room beside it; the control then
    // grows into that room rather than cut the caption off.
    static void widenToFit(QWidget& container);
};
