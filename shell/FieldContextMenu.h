#pragma once

#include <QObject>
#include <QPointer>
#include <memory>

class QMenu;
class QPoint;
class QWidget;

// The context menu of a window's text fields: Qt's own menu of the field,
// but with "Rückgängig" and "Wiederherstellen" disabled. The fields keep no
// undo the user can reach, as the Edit menu's Undo is disabled and Ctrl+Z
// does nothing, so the context menu offers none either.
class FieldContextMenu final : public QObject
{
    Q_OBJECT

public:
    explicit FieldContextMenu(QWidget& window);

    // The menu for a text field, opened at position in the field's
    // coordinates; null for any other widget.
    static std::unique_ptr<QMenu> create(QWidget& field, const QPoint& position);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QPointer<QWidget> m_window;
};
