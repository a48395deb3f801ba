#pragma once

#include <QWidget>

class QMainWindow;

// The central widget of a window with a shell. It holds the window's client
// area, whose controls are placed below the toolbar, and keeps it there when
// the toolbar is hidden: the window's layout then moves the central widget
// up, and the host moves its client area down by as much. Hiding the status
// bar only lengthens the host; nothing above it moves.
class ClientAreaHost final : public QWidget
{
    Q_OBJECT

public:
    ClientAreaHost(QWidget& clientArea, const QWidget& toolBar, QMainWindow& window);

protected:
    void moveEvent(QMoveEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void placeClientArea();

    QWidget& m_clientArea;
    const QWidget& m_toolBar;
};
