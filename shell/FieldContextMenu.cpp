#include "FieldContextMenu.h"

#include <QAbstractScrollArea>
#include <QAction>
#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QTextEdit>

namespace {

// Qt names the entries of some fields' menus, not of all; every entry shows
// its keys after a tab, in the same words as the shortcut texts.
bool isUndoOrRedo(const QAction& entry)
{
    if (entry.objectName() == u"edit-undo" || entry.objectName() == u"edit-redo")
        return true;
    const QString keys = entry.text().section(QLatin1Char('\t'), 1);
    if (keys.isEmpty())
        return false;
    const QKeySequence shown(keys, QKeySequence::NativeText);
    for (const auto which : {QKeySequence::Undo, QKeySequence::Redo}) {
        if (QKeySequence::keyBindings(which).contains(shown))
            return true;
    }
    return false;
}

// The text field a context menu event belongs to: multi-line fields get it
// through their viewport.
QWidget* fieldOf(QObject* watched)
{
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget)
        return nullptr;
    if (auto* area = qobject_cast<QAbstractScrollArea*>(widget->parentWidget());
        area && area->viewport() == widget)
        return area;
    return widget;
}

} // namespace

FieldContextMenu::FieldContextMenu(QWidget& window) : QObject(&window), m_window(&window)
{
    // As for the shortcuts: watching the application catches every field
    // the window gets, whenever it gets it.
    QCoreApplication::instance()->installEventFilter(this);
}

std::unique_ptr<QMenu> FieldContextMenu::create(QWidget& field, const QPoint& position)
{
    std::unique_ptr<QMenu> menu;
    if (auto* line = qobject_cast<QLineEdit*>(&field))
        menu.reset(line->createStandardContextMenu());
    else if (auto* plain = qobject_cast<QPlainTextEdit*>(&field))
        menu.reset(plain->createStandardContextMenu(position));
    else if (auto* rich = qobject_cast<QTextEdit*>(&field))
        menu.reset(rich->createStandardContextMenu(position));
    if (!menu)
        return menu;
    for (QAction* entry : menu->actions()) {
        if (isUndoOrRedo(*entry))
            entry->setEnabled(false);
    }
    return menu;
}

bool FieldContextMenu::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::ContextMenu)
        return QObject::eventFilter(watched, event);
    QWidget* field = fieldOf(watched);
    if (!field || !m_window || field->window() != m_window)
        return QObject::eventFilter(watched, event);
    const auto& request = static_cast<const QContextMenuEvent&>(*event);
    const std::unique_ptr<QMenu> menu = create(*field, request.pos());
    if (!menu)
        return QObject::eventFilter(watched, event);
    menu->exec(request.globalPos());
    return true;
}
