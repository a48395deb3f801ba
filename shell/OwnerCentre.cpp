#include "OwnerCentre.h"

#include <QMargins>
#include <QRect>
#include <QScreen>
#include <QWidget>
#include <algorithm>

void centreOverOwner(QWidget& dialog)
{
    const QWidget* parent = dialog.parentWidget();
    if (!parent)
        return;
    const QWidget& owner = *parent->window();
    const QRect ownerFrame = owner.frameGeometry();
    const QRect ownerClient = owner.geometry();
    const QMargins frame(
        ownerClient.left() - ownerFrame.left(), ownerClient.top() - ownerFrame.top(),
        ownerFrame.right() - ownerClient.right(), ownerFrame.bottom() - ownerClient.bottom());
    const QSize whole = dialog.size().grownBy(frame);
    int left = ownerFrame.left() + (ownerFrame.width() - whole.width()) / 2;
    int top = ownerFrame.top() + (ownerFrame.height() - whole.height()) / 2;
    // An owner near the screen's edge must not push the dialog's title bar,
    // by which it is moved, off the screen.
    if (const QScreen* screen = owner.screen()) {
        const QRect area = screen->availableGeometry();
        left =
            std::clamp(left, area.left(), std::max(area.left(), area.right() + 1 - whole.width()));
        top = std::clamp(top, area.top(), std::max(area.top(), area.bottom() + 1 - whole.height()));
    }
    // A window's position is that of its frame.
    dialog.move(left, top);
}
