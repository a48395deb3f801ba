#pragma once

#include <QObject>
#include <QPointer>

class QWidget;

// A one-line field drops its selection when the menu bar takes the keyboard
// (Alt, Alt+B, F10), so Bearbeiten chosen from the keyboard would find
// nothing selected. The keeper notes the field and its selection when the
// menu bar takes the focus and puts the selection back when the focus
// returns; the edit commands ask it for the control they act on.
class SelectionKeeper final : public QObject
{
    Q_OBJECT

public:
    explicit SelectionKeeper(QWidget& window);

    // The control the edit commands act on: the focused one, or, while the
    // menu bar has the keyboard, the one that had it before, with its
    // selection restored.
    QWidget* activeControl();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void remember(QWidget& field);
    void restore();

    QWidget& m_window;
    QPointer<QWidget> m_field;
    int m_anchor = 0;
    int m_position = 0;
};
