#include "ShellTestWindow.h"
#include "frmAbout.h"

#include <QLabel>
#include <QPushButton>

namespace {

// The about box over a main window, with a system-information tool that is
// found or not as the test says.
class AboutBoxTest : public ShellFixture
{
protected:
    template <typename Widget>
    static Widget* control(const frmAbout& about, const char* name)
    {
        auto* widget = about.findChild<Widget*>(QString::fromLatin1(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }

    static QString label(const frmAbout& about, const char* name)
    {
        return control<QLabel>(about, name)->text();
    }
};

TEST_F(AboutBoxTest, ShowsCaptionTitleVersionAndNotice)
{
    ShellTestWindow& window = openWindow();
    frmAbout about(context(), &window);
    EXPECT_EQ(about.windowTitle(), QStringLiteral("About Kelvane"));
    EXPECT_EQ(label(about, "lblTitle"), QStringLiteral("Kelvane"));
    EXPECT_EQ(label(about, "lblVersion"), QStringLiteral("Version 1.0.2"));
    EXPECT_EQ(label(about, "lblVersion"), QStringLiteral("Version " KELVANE_VERSION));
    const QString description = label(about, "lblDescription");
    EXPECT_TRUE(description.contains(QStringLiteral("frei verwendet")));
    EXPECT_TRUE(description.contains(QStringLiteral("Warnung")));
    EXPECT_FALSE(control<QLabel>(about, "picIcon")->pixmap().isNull());
    EXPECT_EQ(control<QPushButton>(about, "cmdSysInfo")->text(), QStringLiteral("&System Info..."));
    EXPECT_TRUE(control<QPushButton>(about, "cmdOK")->isDefault());
    EXPECT_EQ(about.size(), QSize(391, 243)); // 5865 x 3645 twips
}

TEST_F(AboutBoxTest, CaptionFollowsTheMainWindowOnEveryOpening)
{
    ShellTestWindow& main = openWindow(QStringLiteral("Kelvane"));
    ShellTestWindow& editor = openWindow(QStringLiteral("Vorlage"));
    for (int opening = 0; opening < 2; ++opening) {
        frmAbout about(context(), &editor);
        EXPECT_EQ(about.windowTitle(), QStringLiteral("About Kelvane"));
    }
    main.setWindowTitle(QStringLiteral("Kelvane 2"));
    EXPECT_EQ(frmAbout(context(), &editor).windowTitle(), QStringLiteral("About Kelvane 2"));
}

TEST_F(AboutBoxTest, WithoutRegisteredWindowsTheOwnersCaptionIsUsed)
{
    QWidget owner;
    owner.setWindowTitle(QStringLiteral("Besitzer"));
    EXPECT_EQ(frmAbout(context(), &owner).windowTitle(), QStringLiteral("About Besitzer"));
}

TEST_F(AboutBoxTest, EnterAndEscapeBothCloseThroughOK)
{
    ShellTestWindow& window = openWindow();
    for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Escape}) {
        SCOPED_TRACE(key);
        frmAbout about(context(), &window);
        about.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&about));
        QTest::keyClick(&about, key);
        EXPECT_FALSE(about.isVisible());
        EXPECT_EQ(about.result(), QDialog::Accepted);
    }
}

TEST_F(AboutBoxTest, UnavailableSystemInformationIsReportedAndTheBoxStaysOpen)
{
    ShellTestWindow& window = openWindow();
    frmAbout about(context(), &window);
    about.show();
    QTest::mouseClick(control<QPushButton>(about, "cmdSysInfo"), Qt::LeftButton);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text,
              QStringLiteral("System Information Is Unavailable At This Time"));
    EXPECT_EQ(dialogs.messages[0].title, QStringLiteral("Kelvane"));
    EXPECT_EQ(dialogs.messages[0].buttons, QMessageBox::Ok);
    EXPECT_EQ(dialogs.messages[0].parent, &about);
    EXPECT_TRUE(about.isVisible());
}

TEST_F(AboutBoxTest, AvailableSystemInformationStartsWithoutMessage)
{
    class ToolRegistry final : public RegistryAccess
    {
    public:
        long OpenKey(std::uint32_t, const std::string& key, std::uint32_t, Handle& handle) override
        {
            handle = 1;
            return key == SysInfoStarter::PathKey ? Success : NotFound;
        }
        long QueryValue(Handle, const std::string&, std::uint32_t& type, char* data,
                        std::uint32_t& size) override
        {
            type = StringValue;
            size = 5;
            std::memcpy(data, "tool", 5);
            return Success;
        }
        long CloseKey(Handle) override { return Success; }
    } registry;
    QStringList started;
    SysInfoStarter tool(
        registry, QString(), [](const QString&) { return true; },
        [&started](const QString& path) {
            started.append(path);
            return true;
        });
    ShellContext withTool{dialogs, clipboard, windows, tool};
    frmAbout about(withTool);
    about.StartSysInfo();
    EXPECT_EQ(started, QStringList{QStringLiteral("tool")});
    EXPECT_TRUE(dialogs.messages.empty());
}

} // namespace
