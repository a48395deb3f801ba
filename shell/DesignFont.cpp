#include "DesignFont.h"

#include <QCheckBox>
#include <QFontInfo>
#include <QLabel>
#include <QRadioButton>
#include <algorithm>

namespace {

// Space kept free between a grown control and whatever lies to its right.
constexpr int Gap = 4;

bool holdsOneLineCaption(const QWidget& widget)
{
    if (const auto* label = qobject_cast<const QLabel*>(&widget))
        return !label->wordWrap() && !label->text().isEmpty();
    return qobject_cast<const QRadioButton*>(&widget) || qobject_cast<const QCheckBox*>(&widget);
}

bool sharesARow(const QRect& a, const QRect& b)
{
    return a.top() <= b.bottom() && b.top() <= a.bottom();
}

// The width the control may take: up to the nearest control on its right in
// the same row, or the edge of its container.
int roomFor(const QWidget& widget)
{
    const QWidget* container = widget.parentWidget();
    const QRect own = widget.geometry();
    int right = container->width() - 2 * Gap;
    for (const QObject* child : container->children()) {
        const auto* sibling = qobject_cast<const QWidget*>(child);
        if (!sibling || sibling == &widget || sibling->isWindow())
            continue;
        const QRect other = sibling->geometry();
        if (other.left() > own.left() && sharesARow(own, other))
            right = std::min(right, other.left() - Gap);
    }
    return right - own.left();
}

} // namespace

QStringList DesignFont::families()
{
    // Measured against the designed widths: the narrow sans of
    // fonts-liberation fits every caption; the condensed DejaVu, which every
    // Debian desktop has, misses only the radio button "Standard" by a few
    // pixels.
    return {QStringLiteral("Liberation Sans Narrow"), QStringLiteral("Arial Narrow"),
            QStringLiteral("DejaVu Sans Condensed")};
}

QFont DesignFont::font()
{
    for (const QString& family : families()) {
        QFont candidate(family);
        candidate.setPointSizeF(PointSize);
        // The font system substitutes a missing family silently; only the
        // matched family tells whether it is installed.
        if (QFontInfo(candidate).family() == family)
            return candidate;
    }
    QFont platform;
    platform.setPointSizeF(PointSize);
    return platform;
}

void DesignFont::apply(QWidget& window)
{
    window.setFont(font());
}

void DesignFont::widenToFit(QWidget& container)
{
    for (QWidget* widget : container.findChildren<QWidget*>()) {
        if (!holdsOneLineCaption(*widget))
            continue;
        const int needed = std::min(widget->sizeHint().width(), roomFor(*widget));
        if (needed > widget->width())
            widget->resize(needed, widget->height());
    }
}
