#pragma once

#include <QObject>
#include <QString>

class Dialogs;
class QLabel;
class QStatusBar;
class QWidget;

// The mapping file of the runs, kept in the settings with the folder it was
// chosen for, and named at the right of the main window's status bar: a
// mapping made for one site must not follow the user unseen to the next.
class MappingFile final : public QObject
{
    Q_OBJECT

public:
    MappingFile(QWidget& window, QStatusBar& statusBar, Dialogs& dialogs);

    // The file, or the empty text for none.
    static QString path();
    void choose(const QString& file, const QString& folder);
    void clear();

    // Whether a run in the folder may use the file: always without a file or
    // in the folder it was chosen for. Elsewhere the user is asked, and a Yes
    // keeps the file for the new folder.
    bool mayBeUsedFor(const QString& folder);

private:
    void showInStatusBar();

    QWidget& m_window;
    Dialogs& m_dialogs;
    QLabel* lblZuordnung = nullptr;
};
