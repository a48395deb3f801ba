#include "MainWindowFixture.h"
#include "frmHTML.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>

using frmMainCommands = MainWindowFixture;

TEST_F(frmMainCommands, templateOptionsSwitchTheButtonAndTheSharedChoice)
{
    openWindow();
    click(option(1));
    EXPECT_EQ(button("cmdHTML")->text(), QStringLiteral("Bearbeiten"));
    EXPECT_FALSE(state.UseStandardTemplate);

    click(option(0));
    EXPECT_EQ(button("cmdHTML")->text(), QStringLiteral("Anzeigen"));
    EXPECT_TRUE(state.UseStandardTemplate);

    window->optHTML_Click(7); // no such option: nothing changes
    EXPECT_EQ(button("cmdHTML")->text(), QStringLiteral("Anzeigen"));
    EXPECT_TRUE(state.UseStandardTemplate);
}

TEST_F(frmMainCommands, newResetsTheFieldsAndTheCheckBoxButNotTheTemplateChoice)
{
    openWindow();
    typeInto("txtVerzeichnis", QStringLiteral("/somewhere/else"));
    typeInto("txtDateitypen", QStringLiteral("txt"));
    typeInto("txtURLneu", QString());
    click("chkUnterverzeichnis");
    click(option(1));

    trigger("mnuFileNew");

    EXPECT_EQ(field("txtVerzeichnis")->text(), QDir::homePath() + QStringLiteral("/wwwroot"));
    EXPECT_EQ(field("txtDateitypen")->text(),
              QStringLiteral("htm;html;asp;php;php3;php4;shtml;shtm;shm;"));
    EXPECT_EQ(field("txtURLneu")->text(), QStringLiteral("http://www.example.com/subdir1/subdir2"));
    EXPECT_EQ(control<QCheckBox>("chkUnterverzeichnis")->checkState(), Qt::Checked);
    EXPECT_TRUE(option(1)->isChecked());
    EXPECT_FALSE(state.UseStandardTemplate);
}

TEST_F(frmMainCommands, folderButtonTakesTheChosenFolderAndIgnoresCancel)
{
    openWindow();
    typeInto("txtVerzeichnis", QStringLiteral("/before"));

    dialogs.folder = QString();
    click("cmdVerzeichnis");
    EXPECT_EQ(field("txtVerzeichnis")->text(), QStringLiteral("/before"));

    dialogs.folder = QStringLiteral("/");
    click("cmdVerzeichnis");
    EXPECT_EQ(field("txtVerzeichnis")->text(), QStringLiteral("/"));

    // Enter presses the focused button, as Space does.
    dialogs.folder = QStringLiteral("/srv");
    button("cmdVerzeichnis")->setFocus();
    QTest::keyClick(button("cmdVerzeichnis"), Qt::Key_Return);
    EXPECT_EQ(field("txtVerzeichnis")->text(), QStringLiteral("/srv"));
    dialogs.folder = QStringLiteral("/");
    QTest::keyClick(button("cmdVerzeichnis"), Qt::Key_Return);

    ASSERT_EQ(dialogs.folderPrompts.size(), 4u);
    EXPECT_EQ(dialogs.folderPrompts[0], QStringLiteral("Bitte Verzeichnis wählen:"));
}

namespace {

// Delivers a drag of the given local paths onto the widget, entering and
// dropping as a file manager would; true when the drop was accepted.
bool dropPaths(QWidget* target, const QStringList& paths)
{
    QMimeData data;
    QList<QUrl> urls;
    for (const QString& path : paths)
        urls.append(QUrl::fromLocalFile(path));
    data.setUrls(urls);
    const QPoint where = target->rect().center();
    QDragEnterEvent enter(where, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &enter);
    if (!enter.isAccepted())
        return false;
    QDropEvent drop(QPointF(where), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &drop);
    return drop.isAccepted();
}

} // namespace

TEST_F(frmMainCommands, droppingAFolderOntoTheDirectoryFieldTakesItsPath)
{
    openWindow();
    ASSERT_TRUE(QDir().mkpath(path(QStringLiteral("alte Seite"))));
    QFile page(path(QStringLiteral("seite.htm")));
    ASSERT_TRUE(page.open(QIODevice::WriteOnly));
    page.close();
    typeInto("txtVerzeichnis", QStringLiteral("/before"));

    EXPECT_FALSE(dropPaths(field("txtVerzeichnis"), {path(QStringLiteral("seite.htm"))}));
    EXPECT_FALSE(dropPaths(field("txtVerzeichnis"),
                           {path(QStringLiteral("alte Seite")), path(QStringLiteral("program"))}));
    EXPECT_EQ(field("txtVerzeichnis")->text(), QStringLiteral("/before"));

    EXPECT_TRUE(dropPaths(field("txtVerzeichnis"), {path(QStringLiteral("alte Seite"))}));
    EXPECT_EQ(field("txtVerzeichnis")->text(),
              QDir::toNativeSeparators(path(QStringLiteral("alte Seite"))));
}

TEST_F(frmMainCommands, templateButtonOpensANewModalEditorEachTime)
{
    openWindow();
    click("cmdHTML");
    click("cmdHTML");

    ASSERT_EQ(dialogs.modalWindows.size(), 2u);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(dialogs.modalWindows[0].window.isNull()) << "the first editor is gone";
    ASSERT_FALSE(dialogs.modalWindows[1].window.isNull());
    EXPECT_EQ(window->editorForm(), dialogs.modalWindows[1].window.data());
    EXPECT_NE(qobject_cast<frmHTML*>(dialogs.modalWindows[1].window.data()), nullptr);
}
