#pragma once

#include "EngineError.h"
#include "FakeClipboard.h"
#include "FakeDialogs.h"
#include "NativeFileSystem.h"
#include "SettingsStore.h"
#include "SharedState.h"
#include "SysInfoStarter.h"
#include "WindowRegistry.h"
#include "frmHTML.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

// The machine's file system, whose writes can be made to fail as on a full
// disk; a read-only folder would not do, since the tests may run as root.
class FailingFileSystem final : public NativeFileSystem
{
public:
    bool failWrites = false;

    void WriteFile(const std::string& path, std::string_view bytes) override
    {
        if (failWrites)
            throw EngineError(EngineError::Kind::FileSystem,
                              "Die Datei " + path + " kann nicht geschrieben werden: Kein Platz");
        NativeFileSystem::WriteFile(path, bytes);
    }
};

// A program folder with both templates, an empty settings store and the
// editor over them.
class EditorFixture : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_folder.isValid());
        clearSettingsStore();
        state = SharedState::forProgramFolder(m_folder.path().toStdString());
        writeFile(standardPath(), StandardText);
        writeFile(userPath(), UserText);
    }

    void TearDown() override
    {
        editor.reset();
        clearSettingsStore();
    }

    static constexpr const char* StandardText =
        "<html><body>\r\n<a href=\"%URL%\">%URL%</a>\r\n</body></html>";
    static constexpr const char* UserText = "<p>Eigene Vorlage</p>\n</BODY>";

    QString standardPath() const { return QString::fromStdString(state.StandardTemplatePath); }
    QString userPath() const { return QString::fromStdString(state.UserTemplatePath); }

    static void writeFile(const QString& path, const QByteArray& bytes)
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    static QByteArray readFile(const QString& path)
    {
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
        return file.readAll();
    }

    frmHTML& open(bool useStandardTemplate)
    {
        state.UseStandardTemplate = useStandardTemplate;
        editor = std::make_unique<frmHTML>(state, fileSystem,
                                           ShellContext{dialogs, clipboard, windows, sysInfo});
        editor->show();
        editor->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(editor.get()));
        return *editor;
    }

    template <typename Widget>
    Widget* control(const char* name) const
    {
        auto* widget = editor->findChild<Widget*>(QString::fromLatin1(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }

    QPlainTextEdit* code() const { return control<QPlainTextEdit>("txtCode"); }
    QPushButton* button(const char* name) const { return control<QPushButton>(name); }
    void click(const char* name) const { QTest::mouseClick(button(name), Qt::LeftButton); }

    SharedState state;
    FakeDialogs dialogs;
    FakeClipboard clipboard;
    WindowRegistry windows;
    SysInfoStarter sysInfo;
    FailingFileSystem fileSystem;
    std::unique_ptr<frmHTML> editor;

private:
    QTemporaryDir m_folder;
};
