#pragma once

#include <QList>
#include <QObject>
#include <QPointer>
#include <QWidget>

// The program's open top-level windows in the order they were opened. The
// first is the main window; closing goes newest first.
class WindowRegistry : public QObject
{
    Q_OBJECT

public:
    // The window leaves the list by itself when it is destroyed or closed.
    void add(QWidget& window);
    int count() const;
    QWidget* at(int index) const;
    // Closes the windows at positions count-1 down to 1, leaving the first.
    void closeAllButFirst();

private:
    QList<QPointer<QWidget>> m_windows;
};
