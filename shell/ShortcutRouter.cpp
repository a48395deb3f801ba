#include "ShortcutRouter.h"

#include <QAction>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QWidget>

ShortcutRouter::ShortcutRouter(QWidget& window, QList<QAction*> actions)
    : QObject(&window), m_window(&window)
{
    for (QAction* action : actions)
        m_actions.append(QPointer<QAction>(action));
    // Controls can be added to the window at any time; watching the whole
    // application catches them all without bookkeeping.
    QCoreApplication::instance()->installEventFilter(this);
}

bool ShortcutRouter::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if ((type != QEvent::ShortcutOverride && type != QEvent::KeyPress) || !belongsToWindow(watched))
        return QObject::eventFilter(watched, event);

    const auto& key = static_cast<const QKeyEvent&>(*event);
    QAction* action = actionFor(key);
    const bool ownUndo = key.matches(QKeySequence::Undo) || key.matches(QKeySequence::Redo);
    if (!action && !ownUndo)
        return QObject::eventFilter(watched, event);

    // Accepting the override turns the key into a plain key press, which
    // arrives here next; taking that press keeps it from the control.
    event->accept();
    if (type == QEvent::KeyPress && action && action->isEnabled())
        action->trigger();
    return true;
}

bool ShortcutRouter::belongsToWindow(QObject* object) const
{
    const auto* widget = qobject_cast<QWidget*>(object);
    return widget && m_window && widget->window() == m_window;
}

QAction* ShortcutRouter::actionFor(const QKeyEvent& key) const
{
    const QKeySequence pressed(key.keyCombination());
    for (const QPointer<QAction>& action : m_actions) {
        if (action && !action->shortcut().isEmpty() && action->shortcut() == pressed)
            return action;
    }
    return nullptr;
}
