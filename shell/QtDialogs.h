#pragma once

#include "Dialogs.h"

// The real dialogs of the desktop.
class QtDialogs final : public Dialogs
{
public:
    QMessageBox::StandardButton message(QWidget* parent, const QString& title,
                                        const QString& text, QMessageBox::Icon icon,
                                        QMessageBox::StandardButtons buttons) override;
    QString chooseFolder(QWidget* parent, const QString& prompt) override;
    QString chooseFile(QWidget* parent, const QString& caption, const QString& filter,
                       bool forSaving) override;
    void runModal(QWidget& window) override;
};
