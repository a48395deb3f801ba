#include "frmUmzugPruefen.h"

#include "MainWindowFixture.h"
#include "Settings.h"

#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTableView>
#include <arpa/inet.h>
#include <functional>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

// A loopback port that accepts connections and never answers, or, closed
// again, one that refuses them.
struct LoopbackPort
{
    explicit LoopbackPort(bool keepListening) : socket(::socket(AF_INET, SOCK_STREAM, 0))
    {
        sockaddr_in address{AF_INET, 0, {htonl(INADDR_LOOPBACK)}, {}};
        socklen_t length = sizeof address;
        ::bind(socket, reinterpret_cast<sockaddr*>(&address), length);
        ::listen(socket, 16);
        ::getsockname(socket, reinterpret_cast<sockaddr*>(&address), &length);
        port = ntohs(address.sin_port);
        if (!keepListening)
            ::close(std::exchange(socket, -1));
    }
    ~LoopbackPort() { socket < 0 || ::close(socket); }
    QString url() const { return QStringLiteral("http://127.0.0.1:%1/alt").arg(port); }

    int socket;
    int port = 0;
};

} // namespace

class frmUmzugPruefenTest : public MainWindowFixture
{
public:
    void SetUp() override
    {
        MainWindowFixture::SetUp();
        makeSite();
        openWindow();
        typeInto("txtVerzeichnis", path("site"));
        typeInto("txtURLneu", QStringLiteral("http://neu.example/home"));
    }

    // Opens the dialog from the menu and plays the user's part in it.
    void withDialog(const std::function<void(frmUmzugPruefen&)>& user)
    {
        bool opened = false;
        dialogs.whileModalOpen = [&](QWidget& shown) {
            auto* dialog = qobject_cast<frmUmzugPruefen*>(&shown);
            ASSERT_NE(dialog, nullptr);
            opened = true;
            user(*dialog);
        };
        window->findChild<QAction*>(QStringLiteral("mnuExtrasPruefen"))->trigger();
        EXPECT_TRUE(opened);
    }

    static QStringList column(frmUmzugPruefen& dialog, int column)
    {
        QAbstractItemModel* model =
            dialog.findChild<QTableView*>(QStringLiteral("tblErgebnis"))->model();
        QStringList texts;
        for (int row = 0; row < model->rowCount(); ++row)
            texts << model->index(row, column).data().toString();
        return texts;
    }

    static void start(frmUmzugPruefen& dialog, const QString& address)
    {
        auto* field = dialog.findChild<QLineEdit*>(QStringLiteral("txtAlteAdresse"));
        field->setText(address);
        QTest::mouseClick(dialog.findChild<QPushButton*>(QStringLiteral("cmdStart")),
                          Qt::LeftButton);
    }
};

TEST_F(frmUmzugPruefenTest, ChecksEveryPageFiltersByClassAndSavesTheReport)
{
    const LoopbackPort closed(false);
    dialogs.file = path("bericht.csv");
    withDialog([&](frmUmzugPruefen& dialog) {
        start(dialog, closed.url());
        EXPECT_TRUE(dialog.isChecking());
        EXPECT_EQ(dialog.findChild<QPushButton*>(QStringLiteral("cmdStart"))->text(),
                  QStringLiteral("Abbrechen"));
        QTRY_VERIFY_WITH_TIMEOUT(!dialog.isChecking(), 20000);

        // The four pages, then the old homepage, which has no other host name.
        EXPECT_EQ(column(dialog, 0), QStringList(5, QStringLiteral("fehler")));
        EXPECT_TRUE(column(dialog, 1).contains(QStringLiteral("mit Leerzeichen/c.htm")));
        EXPECT_EQ(column(dialog, 3), QStringList(5, QStringLiteral("keine Verbindung")));
        EXPECT_EQ(column(dialog, 4), QStringList(5, QStringLiteral("0")));
        EXPECT_EQ(dialog.findChild<QProgressBar*>(QStringLiteral("prgFortschritt"))->value(), 4);
        EXPECT_EQ(dialog.findChild<QLabel*>(QStringLiteral("lblZusammenfassung"))->text(),
                  QStringLiteral("Geprüft: 5, ok: 0, nur-seite: 0, falsches-ziel: 0, ziel-fehlt: "
                                 "0, alt-fehlt: 0, schleife: 0, fehler: 5; Hinweise: "
                                 "hostvariante: 1"));

        auto* filter = dialog.findChild<QComboBox*>(QStringLiteral("cboKlasse"));
        const std::pair<QString, qsizetype> filters[] = {{QStringLiteral("ok"), 0},
                                                         {QStringLiteral("fehler"), 5},
                                                         {QStringLiteral("alle Klassen"), 5}};
        for (const auto& [name, rows] : filters) {
            filter->setCurrentText(name);
            EXPECT_EQ(column(dialog, 0).size(), rows) << name.toStdString();
        }
        auto* notes = dialog.findChild<QComboBox*>(QStringLiteral("cboHinweis"));
        notes->setCurrentText(QStringLiteral("hostvariante"));
        EXPECT_EQ(column(dialog, 1), QStringList(closed.url() + QStringLiteral("/")));
        EXPECT_EQ(column(dialog, 5), QStringList(QStringLiteral("hostvariante")));
        notes->setCurrentText(QStringLiteral("kette"));
        EXPECT_TRUE(column(dialog, 1).isEmpty());
        notes->setCurrentText(QStringLiteral("alle Adressen"));
        EXPECT_EQ(column(dialog, 1).size(), 5);
        auto* table = dialog.findChild<QTableView*>(QStringLiteral("tblErgebnis"));
        table->sortByColumn(1, Qt::DescendingOrder);
        QStringList sorted = column(dialog, 1);
        EXPECT_TRUE(std::is_sorted(sorted.rbegin(), sorted.rend()));

        QTest::mouseClick(dialog.findChild<QPushButton*>(QStringLiteral("cmdBericht")),
                          Qt::LeftButton);
    });
    const QByteArray report = readFile("bericht.csv");
    EXPECT_TRUE(report.startsWith(
        "\xEF\xBB\xBFKlasse,Alte URL,Ziel-URL,Status,Sprünge,Hinweise\r\nfehler,"));
    EXPECT_EQ(report.count("\r\n"), 6);
    EXPECT_EQ(Settings::read(Settings::Key::AlteAdresse), closed.url());
}

TEST_F(frmUmzugPruefenTest, ClosingTheDialogCancelsTheCheck)
{
    const LoopbackPort silent(true);
    withDialog([&](frmUmzugPruefen& dialog) {
        start(dialog, silent.url());
        ASSERT_TRUE(dialog.isChecking());
        QTest::qWait(100);
        dialog.close();
        EXPECT_FALSE(dialog.isChecking());
        EXPECT_EQ(column(dialog, 0), QStringList(4, QString()))
            << "no answer came, none was waited for";
        EXPECT_EQ(dialog.findChild<QLabel*>(QStringLiteral("lblZusammenfassung"))->text(),
                  QStringLiteral("Abgebrochen."));
    });
}

TEST_F(frmUmzugPruefenTest, MappingFileIsChosenKeptOrClearedFromTheMenu)
{
    QAction* entry = window->findChild<QAction*>(QStringLiteral("mnuExtrasZuordnung"));
    ASSERT_NE(entry, nullptr);
    const std::tuple<QMessageBox::StandardButton, QString, QString> steps[] = {
        {QMessageBox::Ok, path("a.csv"), path("a.csv")},     // none yet: the file dialog only
        {QMessageBox::Cancel, path("b.csv"), path("a.csv")}, // kept
        {QMessageBox::Yes, path("b.csv"), path("b.csv")},    // another one
        {QMessageBox::Yes, QString(), path("b.csv")},        // file dialog cancelled
        {QMessageBox::No, path("c.csv"), QString()},         // cleared
    };
    for (const auto& [answer, chosen, stored] : steps) {
        dialogs.answer = answer;
        dialogs.file = chosen;
        entry->trigger();
        EXPECT_EQ(Settings::read(Settings::Key::Zuordnungsdatei), stored) << chosen.toStdString();
    }
    EXPECT_EQ(dialogs.messages.size(), 4u) << "asked only while a file was set";
}

TEST_F(frmUmzugPruefenTest, RunUsesTheMappingAndNamesPathsWithoutAPage)
{
    writeFile("map.csv", "\"mit Leerzeichen/c.htm\",https://anders.example/c\r\n"
                         "nicht/da.htm,https://anders.example/x\r\n");
    Settings::write(Settings::Key::Zuordnungsdatei, path("map.csv"));
    Settings::write(Settings::Key::ZuordnungsVerzeichnis, path("site"));
    click("cmdStart");
    EXPECT_TRUE(
        readFile("site_Moved/mit Leerzeichen/c.htm").contains("https://anders.example/c\""));
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text,
              QStringLiteral("Die Zuordnungsdatei nennt Seiten, die es nicht gibt:\nnicht/da.htm"));
}

TEST_F(frmUmzugPruefenTest, TableShowsDecodedAddressesBelowTheSiteAndMarksTheClasses)
{
    writeFile("site/\xC3\x9C"
              "ber uns/Team.htm",
              "alte Seite");
    const LoopbackPort closed(false);
    dialogs.file = path("bericht");
    withDialog([&](frmUmzugPruefen& dialog) {
        auto* progress = dialog.findChild<QProgressBar*>(QStringLiteral("prgFortschritt"));
        EXPECT_EQ(progress->text(), QString()) << "nothing to count before the start";
        // Wider than the test's screen, it is kept on the screen.
        EXPECT_TRUE(dialog.frameGeometry().contains(window->frameGeometry().center()));
        EXPECT_NEAR(dialog.frameGeometry().center().y(), window->frameGeometry().center().y(), 1)
            << "opened over the main window";

        start(dialog, closed.url());
        QTRY_VERIFY_WITH_TIMEOUT(!dialog.isChecking(), 20000);
        EXPECT_EQ(progress->text(), QStringLiteral("5 von 5"));
        auto* table = dialog.findChild<QTableView*>(QStringLiteral("tblErgebnis"));
        table->sortByColumn(1, Qt::AscendingOrder);
        const QStringList old = column(dialog, 1);
        const QString team = QStringLiteral("Über uns/Team.htm");
        EXPECT_EQ(old.last(), team) << "sorted as read, not as %C3%9C";
        const QModelIndex teamRow = table->model()->index(old.size() - 1, 1);
        EXPECT_EQ(teamRow.data(Qt::ToolTipRole).toString(), closed.url() + u'/' + team);

        const QModelIndex failed = table->model()->index(0, 0);
        EXPECT_FALSE(failed.data(Qt::DecorationRole).value<QIcon>().isNull());
        EXPECT_TRUE(failed.data(Qt::ToolTipRole).toString().startsWith(QStringLiteral("fehler: ")));
        EXPECT_TRUE(table->model()
                        ->index(0, 3)
                        .data(Qt::ToolTipRole)
                        .toString()
                        .contains(QStringLiteral("keine Verbindung")));

        const QHeaderView& header = *table->horizontalHeader();
        EXPECT_EQ(header.model()->headerData(3, Qt::Horizontal).toString(),
                  QStringLiteral("Status"));
        EXPECT_LT(header.sectionSize(3) * 3, header.sectionSize(1))
            << "the addresses get the width";
        EXPECT_EQ(header.sectionSize(1), header.sectionSize(2));
        EXPECT_FALSE(table->wordWrap());
        EXPECT_EQ(table->textElideMode(), Qt::ElideMiddle);

        QTest::mouseClick(dialog.findChild<QPushButton*>(QStringLiteral("cmdBericht")),
                          Qt::LeftButton);
    });
    EXPECT_TRUE(readFile("bericht.csv").startsWith("\xEF\xBB\xBFKlasse,Alte URL,"))
        << "a name without extension gets .csv";
}

TEST_F(frmUmzugPruefenTest, MappingFileIsShownAndAskedForInAnotherFolder)
{
    writeFile("map.csv", "a.htm,https://anders.example/a\r\n");
    writeFile("zweite/a.htm", "alte Seite");
    auto* label = window->findChild<QLabel*>(QStringLiteral("lblZuordnung"));
    ASSERT_NE(label, nullptr);
    EXPECT_FALSE(label->isVisible());
    dialogs.file = path("map.csv");
    window->findChild<QAction*>(QStringLiteral("mnuExtrasZuordnung"))->trigger();
    EXPECT_TRUE(label->isVisible());
    EXPECT_TRUE(label->text().contains(QStringLiteral("map.csv"))) << label->text().toStdString();
    EXPECT_TRUE(label->toolTip().contains(path("site")));

    typeInto("txtVerzeichnis", path("zweite"));
    dialogs.answer = QMessageBox::No;
    click("cmdStart");
    EXPECT_FALSE(exists("zweite_Moved"));
    EXPECT_EQ(statusText(), QStringLiteral("Durchführung abgebrochen."));
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_TRUE(dialogs.messages[0].text.contains(path("site")));
    EXPECT_TRUE(dialogs.messages[0].text.contains(path("zweite")));

    dialogs.answer = QMessageBox::Yes;
    click("cmdStart");
    EXPECT_TRUE(readFile("zweite_Moved/a.htm").contains("https://anders.example/a"));
    EXPECT_EQ(Settings::read(Settings::Key::ZuordnungsVerzeichnis), path("zweite"));

    // The same folder by another spelling is not another folder.
    typeInto("txtVerzeichnis", path("zweite") + QStringLiteral("/../zweite/"));
    click("cmdStart");
    EXPECT_EQ(dialogs.messages.size(), 3u) << "the run's question about zweite_Moved only";
}

TEST_F(frmUmzugPruefenTest, RefusedMappingLeavesAStatusThatSaysSo)
{
    click("cmdStart");
    ASSERT_EQ(statusText(), QStringLiteral("Fertig, 4 Dateien verarbeitet"));
    const std::pair<const char*, const char*> mappings[] = {
        {"a.htm\r\n", "Zeile 1"},                                   // a faulty line
        {"anders/a.htm,https://n.example/a\r\n", "keine Seite im"}, // made for another site
    };
    dialogs.answer = QMessageBox::Yes;
    for (const auto& [text, reason] : mappings) {
        writeFile("map.csv", text);
        Settings::write(Settings::Key::Zuordnungsdatei, path("map.csv"));
        Settings::write(Settings::Key::ZuordnungsVerzeichnis, path("site"));
        dialogs.messages.clear();
        click("cmdStart");
        EXPECT_EQ(statusText(), QStringLiteral("Durchführung abgebrochen.")) << reason;
        ASSERT_FALSE(dialogs.messages.empty());
        EXPECT_TRUE(dialogs.messages.back().text.contains(QString::fromUtf8(reason)))
            << dialogs.messages.back().text.toStdString();
    }
}
