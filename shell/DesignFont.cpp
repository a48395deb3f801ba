#include "DesignFont.h"

#include <QCheckBox>
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

void DesignFont::apply(QWidget& window)
{
    QFont font = window.font();
    font.setPointSizeF(PointSize);
    window.setFont(font);
}

void DesignFont::widenToFit(QWidget& container)
{
    for (QWidget* widget : container.findChildren<QWidget*>()) {
        if (!holdsOneLineCaption(*widget))
            continue;
        const int room = roomFor(*widget);
        const int needed = std::min(widget->sizeHint().width(), room);
        if (needed > widget->width())
            widget->resize(needed, widget->height());
        // Where there is no room beside it, a caption that still does not fit
        // takes a slightly smaller size of its own rather than lose letters.
        QFont font = widget->font();
        while (widget->sizeHint().width() > widget->width() &&
               font.pointSizeF() > SmallestPointSize) {
            font.setPointSizeF(font.pointSizeF() - 0.5);
            widget->setFont(font);
        }
    }
}
