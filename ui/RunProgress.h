#pragma once

#include <QObject>

class QLabel;
class QProgressBar;
class QStatusBar;

// The progress of a run at the right of the status bar: a bar, and beside it
// the count "n von m" on one line. Styles draw a bar's own text each in
// their way, some in a strip sized for "100%", so the count stands apart.
class RunProgress final : public QObject
{
    Q_OBJECT

public:
    explicit RunProgress(QStatusBar& statusBar);

    void show(int pagesWritten, int pagesFound);
    void hide();

private:
    QProgressBar* prgFortschritt = nullptr;
    QLabel* lblFortschritt = nullptr;
};
