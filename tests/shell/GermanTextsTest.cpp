#include "DesignFont.h"
#include "FieldContextMenu.h"
#include "GermanQtTexts.h"
#include "StatusPanel.h"

#include <QAction>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <gtest/gtest.h>

namespace {

QString nativeText(QKeyCombination keys)
{
    return QKeySequence(keys).toString(QKeySequence::NativeText);
}

TEST(GermanQtTexts, QtSpeaksGermanWhileTheyAreLoaded)
{
    {
        const GermanQtTexts german;
        ASSERT_TRUE(german.isLoaded());
        const struct
        {
            QMessageBox::StandardButton button;
            const char* text;
        } buttons[] = {{QMessageBox::Yes, "&Ja"},
                       {QMessageBox::No, "&Nein"},
                       {QMessageBox::Ok, "OK"},
                       {QMessageBox::Cancel, "Abbrechen"}};
        QMessageBox box;
        for (const auto& row : buttons) {
            box.setStandardButtons(row.button);
            EXPECT_EQ(box.button(row.button)->text(), QString::fromUtf8(row.text));
        }
        EXPECT_EQ(nativeText(Qt::CTRL | Qt::Key_N), QStringLiteral("Strg+N"));
        EXPECT_EQ(QLocale().language(), QLocale::German);
    }
    EXPECT_EQ(nativeText(Qt::CTRL | Qt::Key_N), QStringLiteral("Ctrl+N"));
}

// The entries of a field's context menu by their texts without the keys.
QStringList enabledEntries(QWidget& field)
{
    QStringList entries;
    const std::unique_ptr<QMenu> menu = FieldContextMenu::create(field, QPoint(1, 1));
    for (const QAction* entry : menu->actions()) {
        if (entry->isEnabled() && !entry->isSeparator())
            entries.append(entry->text().section(QLatin1Char('\t'), 0, 0));
    }
    return entries;
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
    const QStringList expected{QStringLiteral("&Ausschneiden"), QStringLiteral("&Kopieren"),
                               QStringLiteral("Löschen")};
    for (QWidget* field : std::initializer_list<QWidget*>{&line, &plain}) {
        const QStringList entries = enabledEntries(*field);
        for (const QString& entry : expected)
            EXPECT_TRUE(entries.contains(entry)) << entries.join(u',').toStdString();
        EXPECT_FALSE(entries.contains(QStringLiteral("&Rückgängig")));
        EXPECT_FALSE(entries.contains(QStringLiteral("Wieder&herstellen")));
    }
    QPushButton button;
    EXPECT_EQ(FieldContextMenu::create(button, QPoint()), nullptr);
}

TEST(StatusPanel, ElidesTheMiddleOfThePathOrElseOfTheText)
{
    const QFontMetrics metrics(DesignFont::font());
    const QString path = QStringLiteral("Schreibe a.htm in /home/benutzer/Seiten/alt/Ordner 29");
    const struct
    {
        QString text;
        QString fitting; // whose width the panel has; null: half the text's width
        QString shown;   // null: any text with an ellipsis that fits
    } rows[] = {
        {QStringLiteral("Fertig, 3 Dateien verarbeitet"),
         QStringLiteral("Fertig, 3 Dateien verarbeitet"),
         QStringLiteral("Fertig, 3 Dateien verarbeitet")},
        {path, QStringLiteral("Schreibe a.htm in /home/…/Ordner 29"),
         QStringLiteral("Schreibe a.htm in /home/…/Ordner 29")},
        {path, QStringLiteral("Schreibe a.htm in /home/…/alt/Ordner 29"),
         QStringLiteral("Schreibe a.htm in /home/…/alt/Ordner 29")},
        {QStringLiteral("Schreibe a.htm in C:\\wwwroot_Moved\\a\\bb\\ccc"),
         QStringLiteral("Schreibe a.htm in C:\\wwwroot_Moved\\…\\ccc"),
         QStringLiteral("Schreibe a.htm in C:\\wwwroot_Moved\\…\\ccc")},
        {path, QString(), QString()},
        {QStringLiteral("Das Verzeichnis existiert nicht und wird darum nicht bearbeitet"),
         QString(), QString()},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.text.toStdString());
        const int width = row.fitting.isNull() ? metrics.horizontalAdvance(row.text) / 2
                                               : metrics.horizontalAdvance(row.fitting);
        const QString shown = StatusPanel::elide(row.text, metrics, width);
        EXPECT_LE(metrics.horizontalAdvance(shown), width);
        if (row.shown.isNull())
            EXPECT_TRUE(shown.contains(QChar(0x2026))) << shown.toStdString();
        else
            EXPECT_EQ(shown, row.shown);
    }
}

} // namespace
