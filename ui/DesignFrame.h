#pragma once

#include <QGroupBox>

// A frame as the windows were designed with it: an etched line around the
// controls, and the caption sitting on the top line, which runs at the
// caption's vertical middle. Styles draw group boxes in their own way, many
// with the caption above the box and the line well below the top edge,
// where it would cross controls placed at their designed positions; this
// frame paints itself the same under every style.
class DesignFrame : public QGroupBox
{
    Q_OBJECT

public:
    DesignFrame(const QString& caption, QWidget* parent);

    // The row of the top line's dark half, in the frame's coordinates; its
    // light half lies one row below.
    int lineRow() const;
    // The inside of the lines: a control that lies within it touches none.
    QRect inside() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QRect captionRect() const;
};
