#pragma once

#include "FakeClipboard.h"
#include "FakeDialogs.h"
#include "NativeFileSystem.h"
#include "SharedState.h"
#include "SysInfoStarter.h"
#include "WindowRegistry.h"
#include "WindowShell.h"
#include "frmMain.h"

#include <QAbstractButton>
#include <QAction>
#include <QButtonGroup>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

// A program folder with the real templates, a settings store of its own and
// the main window over them, driven the way a person would drive it.
class MainWindowFixture : public ::testing::Test
{
public:
    void SetUp() override
    {
        ASSERT_TRUE(m_root.isValid());
        ASSERT_TRUE(QDir(m_root.path()).mkpath(QStringLiteral("program")));
        ASSERT_TRUE(QDir(m_root.path()).mkpath(QStringLiteral("settings")));
        for (const char* name : {"default.htm", "benutzer.htm"}) {
            const QString file = QString::fromLatin1(name);
            ASSERT_TRUE(QFile::copy(QStringLiteral(KELVANE_TEMPLATE_DIR "/") + file,
                                    programFolder() + QLatin1Char('/') + file));
            QFile::setPermissions(programFolder() + QLatin1Char('/') + file,
                                  QFile::ReadOwner | QFile::WriteOwner);
        }
        // Every test starts from an empty store of its own.
        for (const auto format : {QSettings::NativeFormat, QSettings::IniFormat})
            QSettings::setPath(format, QSettings::UserScope, path(QStringLiteral("settings")));
        state = SharedState::forProgramFolder(programFolder().toStdString());
    }

    void TearDown() override
    {
        if (window)
            window->close();
        window.reset();
    }

    QString path(const QString& relative) const { return m_root.filePath(relative); }
    QString path(const char* relative) const { return path(QString::fromUtf8(relative)); }

    void writeFile(const char* relative, const QByteArray& bytes) const
    {
        const QString file = path(relative);
        ASSERT_TRUE(QDir().mkpath(QFileInfo(file).path()));
        QFile out(file);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        ASSERT_EQ(out.write(bytes), bytes.size());
    }

    QByteArray readFile(const char* relative) const
    {
        QFile in(path(relative));
        EXPECT_TRUE(in.open(QIODevice::ReadOnly)) << relative;
        return in.readAll();
    }

    bool exists(const char* relative) const { return QFileInfo::exists(path(relative)); }

    // An old homepage with pages at three levels, a folder without pages and
    // files of other types.
    void makeSite() const
    {
        writeFile("site/a.htm", "alte Seite a");
        writeFile("site/bild.gif", "GIF89a");
        writeFile("site/index.html", "alte Startseite");
        writeFile("site/mit Leerzeichen/c.htm", "alte Seite c");
        writeFile("site/x/leer/notiz.txt", "keine Seite");
        writeFile("site/x/y/b.html", "alte Seite b");
    }
    QString programFolder() const { return path(QStringLiteral("program")); }

    frmMain& openWindow()
    {
        window = std::make_unique<frmMain>(state, fileSystem, context());
        window->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        return *window;
    }

    // Closes the window as its close box would and opens it again, as at
    // the program's next start.
    frmMain& restart()
    {
        window->close();
        window.reset();
        state = SharedState::forProgramFolder(programFolder().toStdString());
        return openWindow();
    }

    ShellContext context() { return ShellContext{dialogs, clipboard, windows, sysInfo}; }

    template <typename Widget = QWidget>
    Widget* control(const char* name) const
    {
        auto* widget = window->findChild<Widget*>(QString::fromLatin1(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }

    QLineEdit* field(const char* name) const { return control<QLineEdit>(name); }
    QAbstractButton* button(const char* name) const { return control<QAbstractButton>(name); }
    QAbstractButton* option(int index) const
    {
        return window->findChild<QButtonGroup*>(QStringLiteral("optHTML"))->button(index);
    }

    void typeInto(const char* name, const QString& text) const
    {
        QLineEdit* target = field(name);
        target->setFocus();
        QTest::keyClick(target, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(target, Qt::Key_Delete);
        for (const QChar c : text) {
            // QTest knows key codes for ASCII only; other letters arrive as
            // text, the way an input method delivers them.
            if (c.unicode() < 0x80)
                QTest::keyClick(target, c.toLatin1());
            else
                QTest::sendKeyEvent(QTest::Click, target, Qt::Key_unknown, QString(c),
                                    Qt::NoModifier);
        }
    }

    void click(QAbstractButton* target) const { QTest::mouseClick(target, Qt::LeftButton); }
    void click(const char* name) const { click(button(name)); }
    void trigger(const char* actionName) const
    {
        QAction* action = window->shell().action(QString::fromLatin1(actionName));
        ASSERT_NE(action, nullptr) << actionName;
        action->trigger();
    }

    QString statusText() const { return window->shell().statusText(); }

    SharedState state;
    FakeDialogs dialogs;
    FakeClipboard clipboard;
    WindowRegistry windows;
    SysInfoStarter sysInfo;
    NativeFileSystem fileSystem;
    std::unique_ptr<frmMain> window;

private:
    QTemporaryDir m_root;
};
