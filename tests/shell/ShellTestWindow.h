#pragma once

#include "FakeClipboard.h"
#include "FakeDialogs.h"
#include "SysInfoStarter.h"
#include "WindowRegistry.h"
#include "WindowShell.h"

#include <QLineEdit>
#include <QMainWindow>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QVBoxLayout>
#include <gtest/gtest.h>
#include <memory>

// A window like the program's, with a shell and one control of each kind the
// edit commands meet.
class ShellTestWindow : public QMainWindow
{
public:
    ShellTestWindow(ShellContext context, const QString& caption,
                    WindowShell::CloseEntry closeEntry = WindowShell::CloseEntry::Beenden)
    {
        setWindowTitle(caption);
        shell = new WindowShell(*this, context, closeEntry, [this] { ++newCommands; });
        auto* client = new QWidget(this);
        auto* layout = new QVBoxLayout(client);
        for (QWidget* control : std::initializer_list<QWidget*>{lineEdit = new QLineEdit(client),
                                plainTextEdit = new QPlainTextEdit(client),
                                button = new QPushButton(QStringLiteral("Start"), client),
                                option = new QRadioButton(QStringLiteral("Standard"), client)})
            layout->addWidget(control);
        setCentralWidget(client);
        context.windows.add(*this);
    }

    WindowShell* shell = nullptr;
    QLineEdit* lineEdit = nullptr;
    QPlainTextEdit* plainTextEdit = nullptr;
    QPushButton* button = nullptr;
    QRadioButton* option = nullptr;
    int newCommands = 0;
};

// Fakes for every service of the shell and a window shown over them.
class ShellFixture : public ::testing::Test
{
protected:
    class NoRegistry final : public RegistryAccess
    {
    public:
        long OpenKey(std::uint32_t, const std::string&, std::uint32_t, Handle&) override
        {
            return NotFound;
        }
        long QueryValue(Handle, const std::string&, std::uint32_t&, char*, std::uint32_t&) override
        {
            return NotFound;
        }
        long CloseKey(Handle) override { return Success; }
    };

    ShellContext context() { return ShellContext{dialogs, clipboard, windows, sysInfo}; }

    ShellTestWindow&
    openWindow(const QString& caption = QStringLiteral("Kelvane"),
               WindowShell::CloseEntry closeEntry = WindowShell::CloseEntry::Beenden)
    {
        auto& window = *m_windows.emplace_back(
            std::make_unique<ShellTestWindow>(context(), caption, closeEntry));
        window.show();
        window.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
        return window;
    }

    static void trigger(ShellTestWindow& window, const char* name)
    {
        QAction* action = window.shell->action(QString::fromLatin1(name));
        ASSERT_NE(action, nullptr) << name;
        action->trigger();
    }

    FakeDialogs dialogs;
    FakeClipboard clipboard;
    WindowRegistry windows;
    NoRegistry registry;
    SysInfoStarter sysInfo{registry, QStringLiteral("/tool"), [](const QString&) { return false; },
                           [](const QString&) { return false; }};

private:
    std::vector<std::unique_ptr<ShellTestWindow>> m_windows;
};
