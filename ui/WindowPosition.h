#pragma once

#include "Settings.h"

#include <QPoint>
#include <QPointF>

class QWidget;

// A window's place on the screen, kept in twips under two settings keys.
class WindowPosition
{
public:
    WindowPosition(Settings::Key left, Settings::Key top);

    // Moves the window to its stored place. A place that would put the whole
    // window off every screen (a screen since detached) or is no usable
    // number falls back to the default, so the window is never out of sight.
    void restore(QWidget& window);
    // Stores where the window stands, unless it is minimized: the place it
    // had before minimizing is the one to come back to.
    void save(const QWidget& window) const;

private:
    Settings::Key m_left;
    Settings::Key m_top;
    QPointF m_storedTwips;
    QPoint m_placedAt;
};
