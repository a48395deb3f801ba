#include "CaptionChecks.h"
#include "EditorFixture.h"
#include "Settings.h"
#include "WindowShell.h"

#include <QAction>
#include <QSettings>

namespace {

using frmHTMLTest = EditorFixture;

QString lf(const char* crLfText)
{
    return QString::fromUtf8(crLfText).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

TEST_F(frmHTMLTest, ReadOnlyViewShowsTheStandardTemplateUnchangeable)
{
    frmHTML& window = open(true);
    EXPECT_TRUE(window.isReadOnlyView());
    EXPECT_EQ(code()->toPlainText(), lf(StandardText));
    EXPECT_TRUE(code()->isReadOnly());
    EXPECT_TRUE(control<QLabel>("lblAnmerkung")->isHidden());
    EXPECT_TRUE(control<QPlainTextEdit>("txtDateiname")->isHidden());
    EXPECT_FALSE(button("cmdDefault")->isEnabled());
    EXPECT_FALSE(button("cmdSpeichern")->isEnabled());
    EXPECT_EQ(button("cmdAbbrechen")->text(), QStringLiteral("Schließen"));

    code()->setFocus();
    QTest::keyClicks(code(), QStringLiteral("xyz"));
    window.shell().action(QStringLiteral("mnuFileNew"))->trigger();
    window.shell().tbToolBar_ButtonClick(QStringLiteral("New"));
    EXPECT_EQ(code()->toPlainText(), lf(StandardText));

    click("cmdAbbrechen");
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(readFile(userPath()), QByteArray(UserText));
    EXPECT_EQ(readFile(standardPath()), QByteArray(StandardText));
}

TEST_F(frmHTMLTest, EditModeShowsTheUserTemplateAndWhereItLies)
{
    frmHTML& window = open(false);
    EXPECT_FALSE(window.isReadOnlyView());
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Kelvane"));
    EXPECT_EQ(code()->toPlainText(), QString::fromUtf8(UserText));
    EXPECT_FALSE(code()->isReadOnly());
    EXPECT_TRUE(control<QLabel>("lblAnmerkung")->isVisible());
    EXPECT_EQ(control<QLabel>("lblAnmerkung")->text(),
              QStringLiteral("Anmerkung: Erfahrene Anwender können auch folgende Datei mit einem "
                             "Programm ihrer Wahl bearbeiten:"));
    EXPECT_EQ(control<QPlainTextEdit>("txtDateiname")->toPlainText(), userPath());
    EXPECT_TRUE(control<QPlainTextEdit>("txtDateiname")->isReadOnly());
    EXPECT_TRUE(button("cmdDefault")->isEnabled());
    EXPECT_TRUE(button("cmdSpeichern")->isEnabled());
    EXPECT_EQ(button("cmdAbbrechen")->text(), QStringLiteral("Abbrechen"));
    EXPECT_EQ(window.shell().action(QStringLiteral("mnuFileExit"))->text(),
              QStringLiteral("&Schließen"));
}

TEST_F(frmHTMLTest, ControlsSitAtTheirPlacesAndTabInOrder)
{
    frmHTML& window = open(false);
    struct Place
    {
        const char* name;
        QRect pixels; // the twips divided by 15, tops below the toolbar
    };
    const Place places[] = {
        {"txtCode", QRect(16, 12, 449, 177)},      {"cmdDefault", QRect(16, 196, 81, 25)},
        {"cmdSpeichern", QRect(296, 196, 81, 25)}, {"cmdAbbrechen", QRect(384, 196, 81, 25)},
        {"lblAnmerkung", QRect(24, 228, 441, 25)}, {"txtDateiname", QRect(24, 260, 441, 35)},
    };
    for (const Place& place : places)
        EXPECT_EQ(control<QWidget>(place.name)->geometry(), place.pixels) << place.name;
    EXPECT_EQ(window.centralWidget()->width(), 473);

    code()->setFocus();
    for (const char* next : {"cmdDefault", "cmdSpeichern", "cmdAbbrechen", "txtDateiname"}) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget(), control<QWidget>(next)) << next;
    }
}

TEST_F(frmHTMLTest, CaptionsAreWholeInTheOneDesignFontInBothModes)
{
    for (const bool readOnly : {true, false}) {
        SCOPED_TRACE(readOnly);
        expectCaptionsWholeInDesignFont(open(readOnly));
    }
}

TEST_F(frmHTMLTest, NewEmptiesTheTextAndSavingItLeavesAnEmptyFile)
{
    frmHTML& window = open(false);
    window.shell().tbToolBar_ButtonClick(QStringLiteral("New"));
    EXPECT_TRUE(code()->toPlainText().isEmpty());
    click("cmdSpeichern");
    EXPECT_EQ(readFile(userPath()), QByteArray());
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text, QStringLiteral("Datei wurde gespeichert."));
    EXPECT_EQ(dialogs.messages[0].title, QStringLiteral("Kelvane"));
    EXPECT_EQ(dialogs.messages[0].icon, QMessageBox::NoIcon);
    EXPECT_EQ(dialogs.messages[0].buttons, QMessageBox::Ok);
    EXPECT_FALSE(window.isVisible());

    open(false);
    EXPECT_TRUE(code()->toPlainText().isEmpty());
}

TEST_F(frmHTMLTest, MessageComesAfterTheWriteAndTheWindowClosesAfterTheMessage)
{
    frmHTML& window = open(false);
    code()->setPlainText(QStringLiteral("neu"));
    QByteArray onDisk;
    bool visibleDuringMessage = false;
    dialogs.whileMessageOpen = [&](const FakeDialogs::Message&) {
        onDisk = readFile(userPath());
        visibleDuringMessage = window.isVisible();
    };
    click("cmdSpeichern");
    EXPECT_EQ(onDisk, QByteArray("neu"));
    EXPECT_TRUE(visibleDuringMessage);
    EXPECT_FALSE(window.isVisible());
}

TEST_F(frmHTMLTest, DefaultIsKeptOnlyWhenSaved)
{
    open(false);
    click("cmdDefault");
    EXPECT_EQ(code()->toPlainText(), lf(StandardText));
    click("cmdAbbrechen");
    EXPECT_EQ(readFile(userPath()), QByteArray(UserText));
    EXPECT_TRUE(dialogs.messages.empty());

    open(false);
    click("cmdDefault");
    click("cmdSpeichern");
    EXPECT_EQ(readFile(userPath()), readFile(standardPath()));
}

TEST_F(frmHTMLTest, SavesExactlyTheTypedText)
{
    open(false);
    QTextCursor end = code()->textCursor();
    end.movePosition(QTextCursor::End);
    code()->setTextCursor(end);
    code()->setFocus();
    QTest::keyClick(code(), Qt::Key_Return);
    QTest::keyClicks(code(), QStringLiteral("<!-- Ende -->"));
    click("cmdSpeichern");
    EXPECT_EQ(readFile(userPath()), QByteArray(UserText) + "\n<!-- Ende -->");
}

TEST_F(frmHTMLTest, KeepsEncodingAndLineEndsOfTheFile)
{
    const QByteArray windows1252 = QByteArray("<p>Gr\xFC\xDF") + "e\xA0und \x80</p>\r\n</BODY>\r\n";
    writeFile(userPath(), windows1252);
    open(false);
    EXPECT_EQ(code()->toPlainText(), QStringLiteral("<p>Grüße und €</p>\n</BODY>\n"));
    click("cmdSpeichern");
    EXPECT_EQ(readFile(userPath()), windows1252);

    open(false);
    QTextCursor start = code()->textCursor();
    start.movePosition(QTextCursor::Start);
    start.insertText(QStringLiteral("\u2192 Ä\n"));
    click("cmdSpeichern");
    EXPECT_EQ(readFile(userPath()), QByteArray("&#8594; \xC4\r\n") + windows1252);
}

TEST_F(frmHTMLTest, FailedSaveSaysWhyAndKeepsTheEditorOpen)
{
    frmHTML& window = open(false);
    code()->setPlainText(QStringLiteral("nicht verlieren"));
    fileSystem.failWrites = true;
    click("cmdSpeichern");
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].icon, QMessageBox::Critical);
    EXPECT_TRUE(dialogs.messages[0].text.contains(userPath()));
    EXPECT_TRUE(dialogs.messages[0].text.contains(QStringLiteral("Kein Platz")));
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(code()->toPlainText(), QStringLiteral("nicht verlieren"));
    EXPECT_EQ(readFile(userPath()), QByteArray(UserText));

    fileSystem.failWrites = false;
    click("cmdSpeichern");
    EXPECT_EQ(readFile(userPath()), QByteArray("nicht verlieren"));
    EXPECT_EQ(dialogs.messages.back().text, QStringLiteral("Datei wurde gespeichert."));
}

TEST_F(frmHTMLTest, MissingTemplateIsReportedAndTheEditorOpensEmpty)
{
    ASSERT_TRUE(QFile::remove(userPath()));
    frmHTML& window = open(false);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].icon, QMessageBox::Critical);
    EXPECT_TRUE(dialogs.messages[0].text.contains(userPath()));
    EXPECT_TRUE(code()->toPlainText().isEmpty());
    EXPECT_TRUE(window.isVisible());

    code()->setPlainText(QStringLiteral("<p>\u00E4</p>"));
    click("cmdSpeichern");
    EXPECT_EQ(readFile(userPath()), QByteArray("<p>\xC3\xA4</p>"));
}

TEST_F(frmHTMLTest, EscapeCancelsWithoutSaving)
{
    frmHTML& window = open(false);
    code()->setFocus();
    QTest::keyClicks(code(), QStringLiteral("verworfen"));
    QTest::keyClick(code(), Qt::Key_Escape);
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(readFile(userPath()), QByteArray(UserText));
}

TEST_F(frmHTMLTest, CloseEntryClosesWithoutSaving)
{
    frmHTML& window = open(false);
    code()->setPlainText(QStringLiteral("verworfen"));
    window.shell().action(QStringLiteral("mnuFileExit"))->trigger();
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(readFile(userPath()), QByteArray(UserText));
}

TEST_F(frmHTMLTest, RemembersItsPositionUnlessClosedMinimized)
{
    frmHTML& first = open(false);
    EXPECT_EQ(first.pos(), QPoint(67, 67)); // 1000 twips
    first.close();
    EXPECT_EQ(Settings::read(Settings::Key::HTMLLeft), QStringLiteral("1000"));
    EXPECT_EQ(Settings::read(Settings::Key::HTMLTop), QStringLiteral("1000"));

    frmHTML& second = open(false);
    second.move(150, 90);
    second.close();
    EXPECT_EQ(Settings::read(Settings::Key::HTMLLeft), QStringLiteral("2250"));
    EXPECT_EQ(Settings::read(Settings::Key::HTMLTop), QStringLiteral("1350"));

    frmHTML& third = open(false);
    EXPECT_EQ(third.pos(), QPoint(150, 90));
    third.move(30, 30);
    third.showMinimized();
    third.close();
    EXPECT_EQ(Settings::read(Settings::Key::HTMLLeft), QStringLiteral("2250"));
    EXPECT_EQ(Settings::read(Settings::Key::MainLeft), QStringLiteral("1000")); // untouched
}

TEST_F(frmHTMLTest, ShownModallyItReturnsWhenClosedAndLeavesTheWindowList)
{
    state.UseStandardTemplate = false;
    frmHTML window(state, fileSystem, ShellContext{dialogs, clipboard, windows, sysInfo});
    EXPECT_EQ(windows.count(), 1);
    dialogs.whileModalOpen = [](QWidget& shown) {
        EXPECT_TRUE(shown.isModal());
        shown.findChild<QPushButton*>(QStringLiteral("cmdSpeichern"))->click();
    };
    dialogs.runModal(window);
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(windows.count(), 0);
}

} // namespace
