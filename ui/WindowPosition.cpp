#include "WindowPosition.h"

#include "Twips.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <algorithm>
#include <cmath>

namespace {

// Far beyond any desktop; larger stored values count as off-screen before
// they are turned into pixels.
constexpr double LargestPosition = 1e7;

bool isUsable(double twips)
{
    return std::isfinite(twips) && std::abs(twips) <= LargestPosition;
}

bool isOnSomeScreen(const QRect& frame)
{
    const auto screens = QGuiApplication::screens();
    return std::any_of(screens.begin(), screens.end(), [&frame](const QScreen* screen) {
        return screen->geometry().intersects(frame);
    });
}

QPoint toPixels(const QPointF& twips)
{
    return {twipsToPixels(twips.x()), twipsToPixels(twips.y())};
}

} // namespace

WindowPosition::WindowPosition(Settings::Key left, Settings::Key top) : m_left(left), m_top(top) {}

void WindowPosition::restore(QWidget& window)
{
    QPointF twips(Settings::readPosition(m_left), Settings::readPosition(m_top));
    if (!isUsable(twips.x()) || !isUsable(twips.y()) ||
        !isOnSomeScreen(QRect(toPixels(twips), window.size()))) {
        twips = QPointF(Settings::defaultValue(m_left).toDouble(),
                        Settings::defaultValue(m_top).toDouble());
    }
    m_storedTwips = twips;
    m_placedAt = toPixels(twips);
    window.move(m_placedAt);
}

void WindowPosition::save(const QWidget& window) const
{
    if (window.isMinimized())
        return;
    // Pixels are coarser than twips: a window left where it was placed keeps
    // its stored place exactly instead of drifting by rounding at each start.
    const QPointF twips = window.pos() == m_placedAt ? m_storedTwips
                                                     : QPointF(pixelsToTwips(window.pos().x()),
                                                               pixelsToTwips(window.pos().y()));
    Settings::writePosition(m_left, twips.x());
    Settings::writePosition(m_top, twips.y());
}
