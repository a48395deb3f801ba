#include "ShellImages.h"
#include "ShellTestWindow.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolBar>

namespace {

using WindowShellTest = ShellFixture;

struct Entry
{
    const char* menu;
    const char* name;
    const char* caption; // "-" for a separator
    const char* shortcut;
    bool enabled;
    bool checked;
};

// The menu bar as the user sees it, top to bottom in each menu.
const Entry MenuBar[] = {
    {"mnuFile", "mnuFileNew", "&Neu", "Ctrl+N", true, false},
    {"mnuFile", "mnuFileBar0", "-", "", true, false},
    {"mnuFile", "mnuFileExit", "&Beenden", "", true, false},
    {"mnuEdit", "mnuEditUndo", "&Rückgängig", "Ctrl+Z", false, false},
    {"mnuEdit", "mnuEditBar0", "-", "", true, false},
    {"mnuEdit", "mnuEditCut", "&Ausschneiden", "Ctrl+X", true, false},
    {"mnuEdit", "mnuEditCopy", "&Kopieren", "Ctrl+C", true, false},
    {"mnuEdit", "mnuEditPaste", "&Einfügen", "Ctrl+V", true, false},
    {"mnuView", "mnuViewToolbar", "&Symbolleiste", "", true, true},
    {"mnuView", "mnuViewStatusBar", "Status&leiste", "", true, true},
    {"mnuHelp", "mnuHelpContents", "&Inhalt", "", true, false},
    {"mnuHelp", "mnuHelpSearchForHelpOn", "&Suchen in der Hilfe...", "", true, false},
    {"mnuHelp", "mnuHelpBar0", "-", "", true, false},
    {"mnuHelp", "mnuHelpAbout", "In&fo", "", true, false},
};

QString text(const char* latin1)
{
    return QString::fromUtf8(latin1);
}

TEST_F(WindowShellTest, MenuBarHoldsTheFourMenusWithEveryEntryInOrder)
{
    ShellTestWindow& window = openWindow();
    const QList<QAction*> menus = window.menuBar()->actions();
    ASSERT_EQ(menus.size(), 4);
    const char* const captions[] = {"&Datei", "&Bearbeiten", "&Ansicht", "&Hilfe"};
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(menus[i]->text(), text(captions[i]));

    std::size_t row = 0;
    for (QAction* menuAction : menus) {
        for (QAction* entry : menuAction->menu()->actions()) {
            ASSERT_LT(row, std::size(MenuBar));
            const Entry& expected = MenuBar[row++];
            SCOPED_TRACE(expected.name);
            EXPECT_EQ(menuAction->menu()->objectName(), text(expected.menu));
            EXPECT_EQ(entry->objectName(), text(expected.name));
            EXPECT_EQ(entry, window.shell->action(text(expected.name)));
            if (text(expected.caption) == u"-") {
                EXPECT_TRUE(entry->isSeparator());
                continue;
            }
            EXPECT_EQ(entry->text(), text(expected.caption));
            EXPECT_EQ(entry->shortcut(), QKeySequence(text(expected.shortcut)));
            EXPECT_EQ(entry->isEnabled(), expected.enabled);
            EXPECT_EQ(entry->isChecked(), expected.checked);
        }
    }
    EXPECT_EQ(row, std::size(MenuBar));
}

TEST_F(WindowShellTest, CloseEntryIsNamedAfterTheWindow)
{
    EXPECT_EQ(openWindow().shell->action(QStringLiteral("mnuFileExit"))->text(),
              QStringLiteral("&Beenden"));
    EXPECT_EQ(openWindow(QStringLiteral("Kelvane"), WindowShell::CloseEntry::Schliessen)
                  .shell->action(QStringLiteral("mnuFileExit"))
                  ->text(),
              QStringLiteral("&Schließen"));
}

TEST_F(WindowShellTest, ToolbarHasSixPositionsWithKeysTooltipsAndImagesOnly)
{
    ShellTestWindow& window = openWindow();
    QToolBar* toolBar = window.shell->toolBar();
    ASSERT_NE(toolBar, nullptr);
    EXPECT_EQ(toolBar->objectName(), QStringLiteral("tbToolBar"));
    EXPECT_EQ(toolBar->toolButtonStyle(), Qt::ToolButtonIconOnly);
    const QList<QAction*> buttons = toolBar->actions();
    ASSERT_EQ(buttons.size(), 6);
    const char* const keys[] = {nullptr, "New", nullptr, "Cut", "Copy", "Paste"};
    const char* const tips[] = {nullptr, "Neu", nullptr, "Ausschneiden", "Kopieren", "Einfügen"};
    for (int i = 0; i < 6; ++i) {
        SCOPED_TRACE(i);
        if (!keys[i]) {
            EXPECT_TRUE(buttons[i]->isSeparator());
            continue;
        }
        EXPECT_EQ(buttons[i]->data().toString(), text(keys[i]));
        EXPECT_EQ(buttons[i]->toolTip(), text(tips[i]));
        EXPECT_TRUE(buttons[i]->text().isEmpty());
        EXPECT_FALSE(buttons[i]->icon().isNull());
    }
}

TEST_F(WindowShellTest, ImagesAreDrawnOnTransparentLightGrey)
{
    for (const char* key : {"New", "Cut", "Copy", "Paste"}) {
        SCOPED_TRACE(key);
        const QImage image = ShellImages::toolbarImage(text(key)).toImage();
        ASSERT_EQ(image.size(), QSize(16, 16));
        EXPECT_EQ(qAlpha(image.pixel(0, 0)), 0); // every image leaves its corner free
        int drawn = 0;
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x)
                drawn += qAlpha(image.pixel(x, y)) == 255 ? 1 : 0;
        EXPECT_GT(drawn, 30);

        // At a scale factor of two the button takes the finer drawing, not
        // the small one blown up.
        const QIcon icon = ShellImages::toolbarIcon(text(key));
        EXPECT_EQ(icon.availableSizes(), (QList<QSize>{QSize(16, 16), QSize(32, 32)}));
        const QPixmap sharp = icon.pixmap(QSize(16, 16), 2.0);
        EXPECT_EQ(sharp.size(), QSize(32, 32));
        EXPECT_NE(sharp.toImage().convertToFormat(QImage::Format_ARGB32),
                  image.scaled(32, 32).convertToFormat(QImage::Format_ARGB32));
        EXPECT_EQ(qAlpha(sharp.toImage().pixel(0, 0)), 0);
    }
    EXPECT_TRUE(ShellImages::toolbarImage(QStringLiteral("new")).isNull());
    EXPECT_TRUE(ShellImages::toolbarIcon(QStringLiteral("new")).isNull());
    const QIcon icon = ShellImages::programIcon();
    EXPECT_EQ(icon.availableSizes(), (QList<QSize>{QSize(64, 64), QSize(32, 32), QSize(16, 16)}));
    EXPECT_EQ(icon.pixmap(QSize(32, 32), 2.0).size(), QSize(64, 64));
}

TEST_F(WindowShellTest, StatusBarHasOnePanelSayingWelcome)
{
    ShellTestWindow& window = openWindow();
    EXPECT_EQ(window.shell->statusBar()->objectName(), QStringLiteral("sbStatusBar"));
    EXPECT_EQ(window.shell->statusText(), QStringLiteral("Welcome!"));
    window.shell->setStatusText(QStringLiteral("Fertig, 3 Dateien verarbeitet"));
    EXPECT_EQ(window.shell->statusText(), QStringLiteral("Fertig, 3 Dateien verarbeitet"));
}

TEST_F(WindowShellTest, ViewTogglesSwitchMarkAndBarTogetherPerWindow)
{
    ShellTestWindow& first = openWindow();
    ShellTestWindow& second = openWindow();
    struct Toggle
    {
        const char* entry;
        QWidget* (*bar)(WindowShell&);
    };
    const Toggle toggles[] = {
        {"mnuViewToolbar", [](WindowShell& shell) -> QWidget* { return shell.toolBar(); }},
        {"mnuViewStatusBar", [](WindowShell& shell) -> QWidget* { return shell.statusBar(); }},
    };
    for (const Toggle& toggle : toggles) {
        SCOPED_TRACE(toggle.entry);
        QAction* mark = first.shell->action(text(toggle.entry));
        trigger(first, toggle.entry);
        EXPECT_FALSE(mark->isChecked());
        EXPECT_FALSE(toggle.bar(*first.shell)->isVisible());
        EXPECT_TRUE(second.shell->action(text(toggle.entry))->isChecked());
        EXPECT_TRUE(toggle.bar(*second.shell)->isVisible());

        trigger(first, toggle.entry);
        EXPECT_TRUE(mark->isChecked());
        EXPECT_TRUE(toggle.bar(*first.shell)->isVisible());
    }
}

TEST_F(WindowShellTest, ViewHandlersCalledDirectlyToggleAsTheMenuDoes)
{
    ShellTestWindow& window = openWindow();
    window.shell->mnuViewStatusBar_Click();
    EXPECT_FALSE(window.shell->action(QStringLiteral("mnuViewStatusBar"))->isChecked());
    EXPECT_FALSE(window.shell->statusBar()->isVisible());
    window.shell->mnuViewStatusBar_Click();
    EXPECT_TRUE(window.shell->statusBar()->isVisible());
}

TEST_F(WindowShellTest, BothHelpEntriesSayThereIsNoHelpUnderTheWindowsCaption)
{
    ShellTestWindow& window = openWindow(QStringLiteral("Vorlage"));
    trigger(window, "mnuHelpContents");
    trigger(window, "mnuHelpSearchForHelpOn");
    ASSERT_EQ(dialogs.messages.size(), 2u);
    for (const FakeDialogs::Message& message : dialogs.messages) {
        EXPECT_EQ(message.parent, &window);
        EXPECT_EQ(message.title, QStringLiteral("Vorlage"));
        EXPECT_EQ(message.text, QStringLiteral("Keine Hilfe verfügbar."));
        EXPECT_EQ(message.icon, QMessageBox::Information);
        EXPECT_EQ(message.buttons, QMessageBox::Ok);
    }
}

TEST_F(WindowShellTest, InfoOpensTheAboutBoxModallyOverItsWindow)
{
    openWindow();
    ShellTestWindow& second = openWindow();
    QString caption;
    // Where the box, wider than the window, fits on the screen.
    second.move(300, 200);
    QPoint centre;
    dialogs.whileModalOpen = [&caption, &centre](QWidget& about) {
        caption = about.windowTitle();
        centre = about.frameGeometry().center();
    };
    trigger(second, "mnuHelpAbout");
    EXPECT_LE((centre - second.frameGeometry().center()).manhattanLength(), 1)
        << "the whole box over the whole window";
    ASSERT_EQ(dialogs.modalWindows.size(), 1u);
    EXPECT_EQ(dialogs.modalWindows[0].owner, &second);
    EXPECT_TRUE(dialogs.modalWindows[0].wasModal);
    EXPECT_EQ(caption, QStringLiteral("About Kelvane"));
    // The about box is gone once the command returns.
    EXPECT_TRUE(dialogs.modalWindows[0].window.isNull());
}

TEST_F(WindowShellTest, CloseEntryClosesOnlyItsOwnWindow)
{
    ShellTestWindow& first = openWindow();
    ShellTestWindow& second = openWindow();
    trigger(second, "mnuFileExit");
    EXPECT_FALSE(second.isVisible());
    EXPECT_TRUE(first.isVisible());
}

TEST_F(WindowShellTest, NewEntryAndNewButtonRunTheWindowsOwnCommand)
{
    ShellTestWindow& window = openWindow();
    ShellTestWindow& other = openWindow();
    trigger(window, "mnuFileNew");
    trigger(window, "tbToolBarNew");
    window.shell->tbToolBar_ButtonClick(QStringLiteral("New"));
    EXPECT_EQ(window.newCommands, 3);
    EXPECT_EQ(other.newCommands, 0);
}

TEST_F(WindowShellTest, ToolbarDispatchMatchesKeysExactly)
{
    ShellTestWindow& window = openWindow();
    window.lineEdit->setText(QStringLiteral("Text"));
    window.lineEdit->setFocus();
    window.lineEdit->selectAll();
    for (const char* key : {"new", "cut", "COPY", "Unknown", ""})
        window.shell->tbToolBar_ButtonClick(text(key));
    EXPECT_EQ(window.newCommands, 0);
    EXPECT_EQ(clipboard.writes, 0);

    window.shell->tbToolBar_ButtonClick(QStringLiteral("Copy"));
    EXPECT_EQ(clipboard.content, QStringLiteral("Text"));
    window.shell->tbToolBar_ButtonClick(QStringLiteral("Cut"));
    EXPECT_EQ(window.lineEdit->text(), QString());
    window.shell->tbToolBar_ButtonClick(QStringLiteral("Paste"));
    EXPECT_EQ(window.lineEdit->text(), QStringLiteral("Text"));
}

} // namespace

TEST_F(WindowShellTest, EnterAndReturnPressTheFocusedButton)
{
    ShellTestWindow& window = openWindow();
    int clicks = 0;
    QObject::connect(window.button, &QPushButton::clicked, [&clicks] { ++clicks; });
    window.button->setFocus();
    QTest::keyClick(window.button, Qt::Key_Return);
    QTest::keyClick(window.button, Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_EQ(clicks, 2);
    window.button->setEnabled(false);
    QTest::keyClick(window.button, Qt::Key_Return);
    EXPECT_EQ(clicks, 2);
}
