#pragma once

#include "Dialogs.h"

#include <QPointer>
#include <QWidget>
#include <functional>
#include <vector>

// Answers message boxes, the folder dialog and modal windows in place of
// the desktop and records what was asked, so that no test ever blocks.
class FakeDialogs final : public Dialogs
{
public:
    struct Message
    {
        QPointer<QWidget> parent;
        QString title;
        QString text;
        QMessageBox::Icon icon;
        QMessageBox::StandardButtons buttons;
    };

    struct ModalWindow
    {
        QPointer<QWidget> window;
        QPointer<QWidget> owner; // the window's parent when it was shown
        bool wasModal;
    };

    // The answer to every message box; OK unless a test says otherwise.
    QMessageBox::StandardButton answer = QMessageBox::Ok;
    // The folder the folder dialog returns; empty as after Cancel.
    QString folder;
    // The file the file dialogs return; empty as after Cancel.
    QString file;
    // Plays the user's part while a modal window is open; the window is
    // closed afterwards unless the callback closed it.
    std::function<void(QWidget&)> whileModalOpen;
    // Runs while a message box is open, before it is answered.
    std::function<void(const Message&)> whileMessageOpen;

    std::vector<Message> messages;
    std::vector<QString> folderPrompts;
    std::vector<QString> fileCaptions;
    std::vector<ModalWindow> modalWindows;

    QMessageBox::StandardButton message(QWidget* parent, const QString& title, const QString& text,
                                        QMessageBox::Icon icon,
                                        QMessageBox::StandardButtons buttons) override
    {
        messages.push_back({parent, title, text, icon, buttons});
        if (whileMessageOpen)
            whileMessageOpen(messages.back());
        return answer;
    }

    QString chooseFolder(QWidget* /*parent*/, const QString& prompt) override
    {
        folderPrompts.push_back(prompt);
        return folder;
    }

    QString chooseFile(QWidget* /*parent*/, const QString& caption, const QString& /*filter*/,
                       bool /*forSaving*/) override
    {
        fileCaptions.push_back(caption);
        return file;
    }

    void runModal(QWidget& window) override
    {
        QPointer<QWidget> guard(&window);
        window.setWindowModality(Qt::ApplicationModal);
        window.show();
        modalWindows.push_back({guard, window.parentWidget(), window.isModal()});
        if (whileModalOpen)
            whileModalOpen(window);
        // Closing a closed window would run its close handler a second time.
        if (guard && guard->isVisible())
            guard->close();
    }
};
