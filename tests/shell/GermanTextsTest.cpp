#include "DesignFont.h"
#include "FieldContextMenu.h"
#include "GermanQtTexts.h"
#include "QtDialogs.h"
#include "StatusPanel.h"

#include <QAction>
#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeView>
#include <gtest/gtest.h>
#include <utime.h>

namespace {

QString ctrlN()
{
    return QKeySequence(Qt::CTRL | Qt::Key_N).toString(QKeySequence::NativeText);
}

TEST(GermanQtTexts, QtSpeaksGermanWhileTheyAreLoaded)
{
    {
        const GermanQtTexts german;
        ASSERT_TRUE(german.isLoaded());
        const std::pair<QMessageBox::StandardButton, QString> buttons[] = {
            {QMessageBox::Yes, QStringLiteral("&Ja")},
            {QMessageBox::No, QStringLiteral("&Nein")},
            {QMessageBox::Ok, QStringLiteral("OK")},
            {QMessageBox::Cancel, QStringLiteral("Abbrechen")}};
        QMessageBox box;
        for (const auto& [button, text] : buttons) {
            box.setStandardButtons(button);
            EXPECT_EQ(box.button(button)->text(), text);
        }
        EXPECT_EQ(ctrlN(), QStringLiteral("Strg+N"));
    }
    EXPECT_EQ(ctrlN(), QStringLiteral("Ctrl+N"));
}

// What the folder dialog's detail view shows for the entry of that name.
QStringList folderDialogRow(const QString& folder, const QString& entry)
{
    QStringList row;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        dialog->setDirectory(folder);
        auto* view = dialog->findChild<QTreeView*>(QStringLiteral("treeView"));
        const bool found = QTest::qWaitFor(
            [&] {
                const QModelIndex root = view->rootIndex();
                for (int r = 0; r < view->model()->rowCount(root); ++r) {
                    if (view->model()->index(r, 0, root).data().toString() != entry)
                        continue;
                    for (int column = 0; column < view->model()->columnCount(root); ++column)
                        row << view->model()->index(r, column, root).data().toString();
                    return true;
                }
                return false;
            },
            10000);
        EXPECT_TRUE(found) << "the dialog listed no " << entry.toStdString();
        dialog->reject();
    });
    QtDialogs().chooseFolder(nullptr, QStringLiteral("Bitte Verzeichnis wählen:"));
    return row;
}

TEST(GermanQtTexts, FolderDialogWritesDatesInGerman)
{
    const GermanQtTexts german;
    QTemporaryDir root;
    ASSERT_TRUE(QDir(root.path()).mkdir(QStringLiteral("alt")));
    const QDateTime december(QDate(2026, 12, 7), QTime(22, 54));
    const utimbuf times{december.toSecsSinceEpoch(), december.toSecsSinceEpoch()};
    ASSERT_EQ(::utime(QFile::encodeName(root.filePath(QStringLiteral("alt"))).constData(), &times),
              0);
    const QStringList row = folderDialogRow(root.path(), QStringLiteral("alt"));
    ASSERT_EQ(row.size(), 4);
    EXPECT_EQ(row[3], QStringLiteral("07.12.26 22:54"));
}

TEST(FieldContextMenu, OffersNoUndoLikeTheEditMenu)
{
    const GermanQtTexts german;
    QLineEdit line;
    QPlainTextEdit plain;
    // Typing makes each field's own undo available.
    line.insert(QStringLiteral("Text"));
    plain.insertPlainText(QStringLiteral("Text"));
    line.selectAll();
    plain.selectAll();
    for (QWidget* field : std::initializer_list<QWidget*>{&line, &plain}) {
        QStringList enabled;
        const std::unique_ptr<QMenu> menu = FieldContextMenu::create(*field, QPoint(1, 1));
        for (const QAction* entry : menu->actions()) {
            if (entry->isEnabled() && !entry->isSeparator())
                enabled.append(entry->text());
        }
        EXPECT_TRUE(enabled.contains(QStringLiteral("Löschen")))
            << enabled.join(u',').toStdString();
        EXPECT_FALSE(enabled.contains(QStringLiteral("&Rückgängig\tStrg+Z")));
    }
    QPushButton button;
    EXPECT_EQ(FieldContextMenu::create(button, QPoint()), nullptr);
}

TEST(StatusPanel, ElidesTheMiddleOfThePathOrElseOfTheText)
{
    const QFontMetrics metrics(DesignFont::font());
    const QString path = QStringLiteral("Schreibe a.htm in /home/benutzer/Seiten/alt/Ordner 29");
    // The panel is as wide as the expected text; an empty one: half the text.
    const std::pair<QString, QString> rows[] = {
        {QStringLiteral("Fertig, 3 Dateien verarbeitet"),
         QStringLiteral("Fertig, 3 Dateien verarbeitet")},
        {path, QStringLiteral("Schreibe a.htm in /home/…/Ordner 29")},
        {path, QStringLiteral("Schreibe a.htm in /home/…/alt/Ordner 29")},
        {QStringLiteral("Schreibe a.htm in C:\\wwwroot\\a\\bb\\ccc"),
         QStringLiteral("Schreibe a.htm in C:\\wwwroot\\…\\ccc")},
        {path, QString()},
        {QStringLiteral("Das Verzeichnis existiert nicht und wird nicht bearbeitet"), QString()},
    };
    for (const auto& [text, expected] : rows) {
        const int width = expected.isEmpty() ? metrics.horizontalAdvance(text) / 2
                                             : metrics.horizontalAdvance(expected);
        const QString shown = StatusPanel::elide(text, metrics, width);
        EXPECT_LE(metrics.horizontalAdvance(shown), width) << shown.toStdString();
        if (expected.isEmpty())
            EXPECT_TRUE(shown.contains(QChar(0x2026))) << shown.toStdString();
        else
            EXPECT_EQ(shown, expected);
    }
}

} // namespace
