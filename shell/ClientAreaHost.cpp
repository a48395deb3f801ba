#include "ClientAreaHost.h"

#include <QMainWindow>
#include <algorithm>

ClientAreaHost::ClientAreaHost(QWidget& clientArea, const QWidget& toolBar, QMainWindow& window)
    : QWidget(&window), m_clientArea(clientArea), m_toolBar(toolBar)
{
    setObjectName(QStringLiteral("clientAreaHost"));
    // A new parent hides a widget until it is shown again.
    m_clientArea.setParent(this);
    m_clientArea.show();
}

void ClientAreaHost::moveEvent(QMoveEvent* event)
{
    QWidget::moveEvent(event);
    placeClientArea();
}

void ClientAreaHost::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    placeClientArea();
}

void ClientAreaHost::placeClientArea()
{
    // A hidden toolbar keeps the geometry it had when it was last shown; the
    // host and the toolbar share the window as their parent.
    int offset = 0;
    if (!m_toolBar.isVisibleTo(parentWidget()))
        offset = std::max(0, m_toolBar.geometry().bottom() + 1 - y());
    m_clientArea.setGeometry(0, offset, width(), height() - offset);
}
