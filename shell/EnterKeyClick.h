#pragma once

#include <QObject>

class QWidget;

// Enter and Return press the button that has the focus, as Space does.
// Outside dialogs Qt's buttons leave both keys alone, and making them
// "auto default" would change how some styles draw them.
class EnterKeyClick final : public QObject
{
    Q_OBJECT

public:
    // For every push button of the window, now and later.
    explicit EnterKeyClick(QWidget& window);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget& m_window;
};
