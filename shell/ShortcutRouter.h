#pragma once

#include <QList>
#include <QObject>
#include <QPointer>

class QAction;
class QKeyEvent;
class QWidget;

// Text fields claim Ctrl+X, Ctrl+C, Ctrl+V and Ctrl+Z for their own clipboard
// and undo, so the window's menu shortcuts would never fire while a field has
// the focus. The router watches the key presses of every control in one
// window and hands each key that is a shortcut of a menu entry to that entry
// (a disabled entry, such as Undo, then does nothing). The fields' own undo
// and redo keys are swallowed, so Ctrl+Z never undoes anything.
class ShortcutRouter : public QObject
{
    Q_OBJECT

public:
    ShortcutRouter(QWidget& window, QList<QAction*> actions);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool belongsToWindow(QObject* object) const;
    QAction* actionFor(const QKeyEvent& key) const;

    QPointer<QWidget> m_window;
    QList<QPointer<QAction>> m_actions;
};
