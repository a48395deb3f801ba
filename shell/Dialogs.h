#pragma once

#include <QMessageBox>
#include <QString>

class QWidget;

// Everything that would stop a test in its tracks: message boxes, the folder
// dialog and modal windows. Windows hold a Dialogs and never call the Qt
// statics directly, so tests can answer in their place.
class Dialogs
{
public:
    virtual ~Dialogs() = default;

    virtual QMessageBox::StandardButton message(QWidget* parent, const QString& title,
                                                const QString& text, QMessageBox::Icon icon,
                                                QMessageBox::StandardButtons buttons) = 0;
    // The chosen folder in native form, or the empty text on cancel.
    virtual QString chooseFolder(QWidget* parent, const QString& prompt) = 0;
    // The file chosen to open (or, with forSaving, to write), or the empty
    // text on cancel. filter as Qt writes it: "CSV-Dateien (*.csv)".
    virtual QString chooseFile(QWidget* parent, const QString& caption, const QString& filter,
                               bool forSaving) = 0;
    // Shows the window modally and returns when it has closed.
    virtual void runModal(QWidget& window) = 0;
};
