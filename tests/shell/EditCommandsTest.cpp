#include "ShellTestWindow.h"

#include <QAction>
#include <QApplication>
#include <QMenu>

namespace {

using EditCommandsTest = ShellFixture;

void selectInLine(QLineEdit& field, const QString& text, int start, int length)
{
    field.setText(text);
    field.setFocus();
    field.setSelection(start, length);
}

void selectInPlain(QPlainTextEdit& field, const QString& text, int start, int length)
{
    field.setPlainText(text);
    field.setFocus();
    QTextCursor cursor = field.textCursor();
    cursor.setPosition(start);
    cursor.setPosition(start + length, QTextCursor::KeepAnchor);
    field.setTextCursor(cursor);
}

TEST_F(EditCommandsTest, CopyPutsTheSelectionOnTheClipboard)
{
    ShellTestWindow& window = openWindow();
    clipboard.content = QStringLiteral("alt");
    selectInLine(*window.lineEdit, QStringLiteral("www.example.com"), 4, 7);
    trigger(window, "mnuEditCopy");
    EXPECT_EQ(clipboard.clears, 1);
    EXPECT_EQ(clipboard.content, QStringLiteral("example"));
    EXPECT_EQ(window.lineEdit->text(), QStringLiteral("www.example.com"));
}

TEST_F(EditCommandsTest, CopyAndCutWithoutSelectionLeaveClipboardAndTextAlone)
{
    ShellTestWindow& window = openWindow();
    clipboard.content = QStringLiteral("alt");
    selectInLine(*window.lineEdit, QStringLiteral("Text"), 2, 0);
    trigger(window, "mnuEditCopy");
    trigger(window, "mnuEditCut");
    EXPECT_EQ(clipboard.clears, 0);
    EXPECT_EQ(clipboard.content, QStringLiteral("alt"));
    EXPECT_EQ(window.lineEdit->text(), QStringLiteral("Text"));
}

TEST_F(EditCommandsTest, CutMovesTheSelectionToTheClipboard)
{
    ShellTestWindow& window = openWindow();
    selectInPlain(*window.plainTextEdit, QStringLiteral("<p>\nalt\n</p>"), 2, 6);
    trigger(window, "mnuEditCut");
    EXPECT_EQ(clipboard.content, QStringLiteral(">\nalt\n"));
    EXPECT_EQ(window.plainTextEdit->toPlainText(), QStringLiteral("<p</p>"));
}

TEST_F(EditCommandsTest, PasteReplacesTheSelectionOrInsertsAtTheCaret)
{
    ShellTestWindow& window = openWindow();
    struct Case
    {
        const char* clipboard;
        int start;
        int length;
        const char* expected;
    };
    const Case cases[] = {
        {"neu", 0, 3, "neu Text"},      // replaces the selection
        {"neu", 4, 0, "alt neuText"},   // inserts at the caret
        {"", 0, 4, "Text"},             // no text on the clipboard deletes the selection
        {"a\nb", 8, 0, "alt Texta\nb"}, // line breaks arrive as they are
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.expected);
        clipboard.content = QString::fromUtf8(c.clipboard);
        selectInPlain(*window.plainTextEdit, QStringLiteral("alt Text"), c.start, c.length);
        trigger(window, "mnuEditPaste");
        EXPECT_EQ(window.plainTextEdit->toPlainText(), QString::fromUtf8(c.expected));
    }
    clipboard.content = QStringLiteral("neu");
    selectInLine(*window.lineEdit, QStringLiteral("alt Text"), 0, 3);
    trigger(window, "mnuEditPaste");
    EXPECT_EQ(window.lineEdit->text(), QStringLiteral("neu Text"));
}

TEST_F(EditCommandsTest, CommandsDoNothingWhileAButtonOrOptionHasTheFocus)
{
    ShellTestWindow& window = openWindow();
    window.lineEdit->setText(QStringLiteral("Text"));
    window.lineEdit->selectAll();
    clipboard.content = QStringLiteral("alt");
    for (QWidget* control :
         {static_cast<QWidget*>(window.button), static_cast<QWidget*>(window.option)}) {
        control->setFocus();
        ASSERT_EQ(window.focusWidget(), control);
        for (const char* command : {"mnuEditCut", "mnuEditCopy", "mnuEditPaste"})
            trigger(window, command);
    }
    EXPECT_EQ(clipboard.clears + clipboard.writes, 0);
    EXPECT_EQ(window.lineEdit->text(), QStringLiteral("Text"));
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(EditCommandsTest, ReadOnlyFieldIsCutAsACopyButNotPastedInto)
{
    ShellTestWindow& window = openWindow();
    window.plainTextEdit->setReadOnly(true);
    selectInPlain(*window.plainTextEdit, QStringLiteral("fest"), 0, 4);
    clipboard.content = QStringLiteral("neu");
    trigger(window, "mnuEditCut");
    EXPECT_EQ(clipboard.content, QStringLiteral("fest")) << "Cut copies what it cannot delete";
    EXPECT_EQ(window.plainTextEdit->toPlainText(), QStringLiteral("fest"));
    clipboard.content = QStringLiteral("neu");
    trigger(window, "mnuEditPaste");
    EXPECT_EQ(window.plainTextEdit->toPlainText(), QStringLiteral("fest"));
    trigger(window, "mnuEditCopy");
    EXPECT_EQ(clipboard.content, QStringLiteral("fest"));
}

TEST_F(EditCommandsTest, FailingClipboardNeverCostsTheSelection)
{
    ShellTestWindow& window = openWindow();
    clipboard.failing = true;
    selectInLine(*window.lineEdit, QStringLiteral("Text"), 0, 4);
    for (const char* command : {"mnuEditCut", "mnuEditCopy", "mnuEditPaste"})
        trigger(window, command);
    EXPECT_EQ(window.lineEdit->text(), QStringLiteral("Text"));
    EXPECT_EQ(window.lineEdit->selectedText(), QStringLiteral("Text"));
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(EditCommandsTest, ShortcutsReachTheCommandsWhileATextFieldHasTheFocus)
{
    ShellTestWindow& window = openWindow();
    selectInLine(*window.lineEdit, QStringLiteral("Kelvane"), 0, 3);
    QTest::keyClick(window.lineEdit, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(clipboard.content, QStringLiteral("Kel"));
    EXPECT_EQ(clipboard.writes, 1); // once, not by the field and the menu both

    QTest::keyClick(window.lineEdit, Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(window.lineEdit->text(), QStringLiteral("vane"));
    EXPECT_EQ(clipboard.writes, 2);

    clipboard.content = QStringLiteral("Sil");
    window.lineEdit->setCursorPosition(0);
    QTest::keyClick(window.lineEdit, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(window.lineEdit->text(), QStringLiteral("Silvane"));

    selectInPlain(*window.plainTextEdit, QStringLiteral("eins zwei"), 5, 4);
    QTest::keyClick(window.plainTextEdit, Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(clipboard.content, QStringLiteral("zwei"));
    EXPECT_EQ(window.plainTextEdit->toPlainText(), QStringLiteral("eins "));
}

TEST_F(EditCommandsTest, CtrlZUndoesNothing)
{
    ShellTestWindow& window = openWindow();
    window.lineEdit->setFocus();
    QTest::keyClicks(window.lineEdit, QStringLiteral("abc"));
    QTest::keyClick(window.lineEdit, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(window.lineEdit->text(), QStringLiteral("abc"));

    window.plainTextEdit->setFocus();
    QTest::keyClicks(window.plainTextEdit, QStringLiteral("xyz"));
    QTest::keyClick(window.plainTextEdit, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(window.plainTextEdit->toPlainText(), QStringLiteral("xyz"));
    EXPECT_FALSE(window.shell->action(QStringLiteral("mnuEditUndo"))->isEnabled());
}

TEST_F(EditCommandsTest, CommandsActOnTheWindowWhoseMenuWasUsed)
{
    ShellTestWindow& first = openWindow();
    ShellTestWindow& second = openWindow();
    selectInLine(*first.lineEdit, QStringLiteral("erstes"), 0, 6);
    selectInLine(*second.lineEdit, QStringLiteral("zweites"), 0, 7);
    trigger(first, "mnuEditCopy");
    EXPECT_EQ(clipboard.content, QStringLiteral("erstes"));
    trigger(second, "mnuEditCut");
    EXPECT_EQ(clipboard.content, QStringLiteral("zweites"));
    EXPECT_EQ(first.lineEdit->text(), QStringLiteral("erstes"));
}

} // namespace

namespace {

// Opens Bearbeiten with Alt+B, as the keyboard does, and chooses the entry
// by its access key.
void chooseFromKeyboard(ShellTestWindow& window, Qt::Key entry)
{
    QTest::keyClick(window.focusWidget(), Qt::Key_B, Qt::AltModifier);
    QTRY_VERIFY(qobject_cast<QMenu*>(QApplication::activePopupWidget()) != nullptr);
    QTest::keyClick(QApplication::activePopupWidget(), entry);
    QTRY_VERIFY(QApplication::activePopupWidget() == nullptr);
}

TEST_F(EditCommandsTest, EditMenuFromTheKeyboardActsOnTheSelectionItFound)
{
    ShellTestWindow& window = openWindow();
    selectInLine(*window.lineEdit, QStringLiteral("http://neu.example"), 0, 18);
    chooseFromKeyboard(window, Qt::Key_K);
    EXPECT_EQ(clipboard.content, QStringLiteral("http://neu.example"));
    EXPECT_EQ(window.lineEdit->selectedText(), QStringLiteral("http://neu.example"))
        << "the selection is back when the menu has closed";

    clipboard.content = QStringLiteral("https://anders.example");
    chooseFromKeyboard(window, Qt::Key_E);
    EXPECT_EQ(window.lineEdit->text(), QStringLiteral("https://anders.example"));

    selectInLine(*window.lineEdit, QStringLiteral("alt neu"), 4, 3);
    chooseFromKeyboard(window, Qt::Key_A);
    EXPECT_EQ(window.lineEdit->text(), QStringLiteral("alt "));
    EXPECT_EQ(clipboard.content, QStringLiteral("neu"));

    selectInPlain(*window.plainTextEdit, QStringLiteral("<p>\nalt\n</p>"), 4, 3);
    chooseFromKeyboard(window, Qt::Key_K);
    EXPECT_EQ(clipboard.content, QStringLiteral("alt"));
}

} // namespace
