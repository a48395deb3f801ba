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
    // The window leaves the list by itself when it is destroyed or closed
    // (once the close has hidden it, so that its own close handler still
    // finds it in its place).
    void add(QWidget& window);
    int count() const;
    QWidget* at(int index) const;
    // Closes the windows at positions count-1 down to 1, leaving the first.
    void closeAllButFirst();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QList<QWidget*> openWindows() const;
    void remove(QObject* window);

    QList<QPointer<QWidget>> m_windows;
};
