#include "EnterKeyClick.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QPushButton>

EnterKeyClick::EnterKeyClick(QWidget& window) : QObject(&window), m_window(window)
{
    QCoreApplication::instance()->installEventFilter(this);
}

bool EnterKeyClick::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress)
        return QObject::eventFilter(watched, event);
    auto* button = qobject_cast<QPushButton*>(watched);
    const auto& key = static_cast<const QKeyEvent&>(*event);
    const bool enter = key.key() == Qt::Key_Return || key.key() == Qt::Key_Enter;
    // A dialog's buttons know the keys themselves.
    if (!enter || !button || button->window() != &m_window || button->autoDefault() ||
        key.modifiers() & ~Qt::KeypadModifier)
        return QObject::eventFilter(watched, event);
    if (button->isEnabled())
        button->click();
    return true;
}
