#include "WindowRegistry.h"

#include <QEvent>

void WindowRegistry::add(QWidget& window)
{
    m_windows.append(QPointer<QWidget>(&window));
    window.installEventFilter(this);
}

int WindowRegistry::count() const
{
    return static_cast<int>(openWindows().size());
}

QWidget* WindowRegistry::at(int index) const
{
    const QList<QWidget*> windows = openWindows();
    return index >= 0 && index < windows.size() ? windows.at(index) : nullptr;
}

void WindowRegistry::closeAllButFirst()
{
    // Closing a window takes it out of the list, so walk a copy.
    const QList<QWidget*> windows = openWindows();
    QList<QPointer<QWidget>> toClose;
    for (qsizetype i = windows.size() - 1; i >= 1; --i)
        toClose.append(QPointer<QWidget>(windows.at(i)));
    for (const QPointer<QWidget>& window : toClose) {
        if (window)
            window->close();
    }
}

QList<QWidget*> WindowRegistry::openWindows() const
{
    QList<QWidget*> windows;
    for (const QPointer<QWidget>& window : m_windows) {
        if (window)
            windows.append(window.data());
    }
    return windows;
}

void WindowRegistry::remove(QObject* window)
{
    m_windows.removeIf([window](const QPointer<QWidget>& entry) {
        return entry.isNull() || entry.data() == window;
    });
    window->removeEventFilter(this);
}

bool WindowRegistry::eventFilter(QObject* watched, QEvent* event)
{
    // A window stays listed while its own close handler runs, so that the
    // handler still sees it at its place; it leaves when it is hidden, which
    // is the last step of closing. One that was never shown leaves as soon
    // as it is asked to close, since no hide will follow.
    const auto* window = qobject_cast<QWidget*>(watched);
    if (window && event->type() == QEvent::Hide && !event->spontaneous())
        remove(watched);
    else if (window && event->type() == QEvent::Close && !window->isVisible())
        remove(watched);
    return QObject::eventFilter(watched, event);
}
