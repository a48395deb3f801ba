#include "DesignFrame.h"

#include <QPainter>
#include <QStyle>

namespace {

// Where the caption starts, and the gap the line leaves on either side of it.
constexpr int CaptionIndent = 8;
constexpr int CaptionGap = 2;
// An etched line is a dark and a light line, one pixel each.
constexpr int LineWidth = 2;

} // namespace

DesignFrame::DesignFrame(const QString& caption, QWidget* parent) : QGroupBox(caption, parent) {}

int DesignFrame::lineRow() const
{
    return fontMetrics().height() / 2;
}

QRect DesignFrame::inside() const
{
    return rect().adjusted(LineWidth, lineRow() + LineWidth, -LineWidth, -LineWidth);
}

QRect DesignFrame::captionRect() const
{
    const int width = fontMetrics().horizontalAdvance(title());
    return {CaptionIndent, 0, width, fontMetrics().height()};
}

void DesignFrame::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QRect caption = captionRect();
    const int top = lineRow();
    const int right = width() - LineWidth;
    const int bottom = height() - LineWidth;
    const int gapLeft = caption.left() - CaptionGap;
    const int gapRight = caption.right() + CaptionGap;

    // The light line one pixel right of and below the dark one makes the
    // line look cut into the window.
    const QColor colours[] = {palette().color(QPalette::Dark), palette().color(QPalette::Light)};
    for (int offset = 0; offset < LineWidth; ++offset) {
        painter.setPen(colours[offset]);
        const int y = top + offset;
        const int x = offset;
        painter.drawLine(x, y, gapLeft, y);
        painter.drawLine(gapRight, y, right + offset, y);
        painter.drawLine(x, y, x, bottom + offset);
        painter.drawLine(right + offset, y, right + offset, bottom + offset);
        painter.drawLine(x, bottom + offset, right + offset, bottom + offset);
    }
    style()->drawItemText(&painter, caption, Qt::AlignLeft | Qt::AlignTop | Qt::TextShowMnemonic,
                          palette(), isEnabled(), title(), QPalette::WindowText);
}
