#pragma once

#include "Clipboard.h"
#include "Dialogs.h"

#include <QPointer>
#include <QWidget>
#include <deque>
#include <functional>
#include <gtest/gtest.h>
#include <vector>

// Answers the main window's message boxes, folder dialog and modal windows
// from a script, and records what was asked, so that no test ever blocks.
class ScriptedDialogs final : public Dialogs
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

    std::deque<QMessageBox::StandardButton> answers;
    std::deque<QString> folders;
    std::vector<Message> messages;
    std::vector<QString> folderPrompts;
    std::vector<QPointer<QWidget>> modalWindows;

    // Runs while the message is open, before it is answered.
    std::function<void(const Message&)> whileMessageOpen;
    // Plays the user's part in a modal window; without it the window is
    // closed at once, as by its close box.
    std::function<void(QWidget&)> whileModalOpen;

    QMessageBox::StandardButton message(QWidget* parent, const QString& title, const QString& text,
                                        QMessageBox::Icon icon,
                                        QMessageBox::StandardButtons buttons) override
    {
        messages.push_back({parent, title, text, icon, buttons});
        if (whileMessageOpen)
            whileMessageOpen(messages.back());
        if (buttons == QMessageBox::Ok)
            return QMessageBox::Ok;
        if (answers.empty()) {
            ADD_FAILURE() << "unexpected question: " << text.toStdString();
            return QMessageBox::No;
        }
        const QMessageBox::StandardButton answer = answers.front();
        answers.pop_front();
        return answer;
    }

    QString chooseFolder(QWidget* parent, const QString& prompt) override
    {
        folderPrompts.push_back(prompt);
        EXPECT_NE(parent, nullptr);
        if (folders.empty())
            return {};
        const QString folder = folders.front();
        folders.pop_front();
        return folder;
    }

    void runModal(QWidget& window) override
    {
        modalWindows.emplace_back(&window);
        window.show();
        if (whileModalOpen)
            whileModalOpen(window);
        else
            window.close();
    }
};

class MemoryClipboard final : public Clipboard
{
public:
    QString text() const override { return m_text; }
    void setText(const QString& text) override { m_text = text; }
    void clear() override { m_text.clear(); }

private:
    QString m_text;
};
