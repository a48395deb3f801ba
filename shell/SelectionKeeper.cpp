#include "SelectionKeeper.h"

#include <QCoreApplication>
#include <QFocusEvent>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <algorithm>
#include <utility>

namespace {

QTextCursor* cursorOf(QWidget& field, QTextCursor& storage)
{
    if (auto* plain = qobject_cast<QPlainTextEdit*>(&field))
        storage = plain->textCursor();
    else if (auto* rich = qobject_cast<QTextEdit*>(&field))
        storage = rich->textCursor();
    else
        return nullptr;
    return &storage;
}

} // namespace

SelectionKeeper::SelectionKeeper(QWidget& window) : QObject(&window), m_window(window)
{
    QCoreApplication::instance()->installEventFilter(this);
}

bool SelectionKeeper::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (type != QEvent::FocusOut && type != QEvent::FocusIn)
        return QObject::eventFilter(watched, event);
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget || widget->window() != &m_window)
        return QObject::eventFilter(watched, event);
    // Seen before the field handles the event: the selection is still there
    // on the way out, and the field keeps what is restored on the way in.
    const auto reason = static_cast<QFocusEvent*>(event)->reason();
    if (type == QEvent::FocusOut && reason == Qt::MenuBarFocusReason)
        remember(*widget);
    else if (type == QEvent::FocusIn && widget == m_field)
        restore();
    else if (type == QEvent::FocusIn && !qobject_cast<QMenuBar*>(widget))
        m_field = nullptr;
    return QObject::eventFilter(watched, event);
}

void SelectionKeeper::remember(QWidget& field)
{
    // The menu bar hands the keyboard on with the same reason; what it
    // leaves is no field.
    if (auto* line = qobject_cast<QLineEdit*>(&field)) {
        m_position = line->cursorPosition();
        m_anchor = line->hasSelectedText()
                       ? (line->selectionStart() == m_position ? line->selectionEnd()
                                                               : line->selectionStart())
                       : m_position;
    } else {
        QTextCursor storage;
        const QTextCursor* cursor = cursorOf(field, storage);
        if (!cursor)
            return;
        m_anchor = cursor->anchor();
        m_position = cursor->position();
    }
    m_field = &field;
}

void SelectionKeeper::restore()
{
    QWidget* field = std::exchange(m_field, nullptr);
    if (!field)
        return;
    if (auto* line = qobject_cast<QLineEdit*>(field)) {
        // The text may have changed meanwhile; a selection past its end
        // would select what was never chosen.
        if (std::max(m_anchor, m_position) > line->text().size())
            return;
        if (m_anchor == m_position)
            line->setCursorPosition(m_position);
        else
            line->setSelection(m_anchor, m_position - m_anchor);
        return;
    }
    QTextCursor storage;
    QTextCursor* cursor = cursorOf(*field, storage);
    if (!cursor || std::max(m_anchor, m_position) > cursor->document()->characterCount() - 1)
        return;
    cursor->setPosition(m_anchor);
    cursor->setPosition(m_position, QTextCursor::KeepAnchor);
    if (auto* plain = qobject_cast<QPlainTextEdit*>(field))
        plain->setTextCursor(*cursor);
    else if (auto* rich = qobject_cast<QTextEdit*>(field))
        rich->setTextCursor(*cursor);
}

QWidget* SelectionKeeper::activeControl()
{
    QWidget* focus = m_window.focusWidget();
    if (m_field && (!focus || qobject_cast<QMenuBar*>(focus))) {
        QWidget* field = m_field;
        restore();
        return field;
    }
    return focus;
}
