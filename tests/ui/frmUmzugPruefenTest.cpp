#include "frmUmzugPruefen.h"

#include "MainWindowFixture.h"
#include "Settings.h"

#include <QComboBox>
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
        EXPECT_TRUE(
            column(dialog, 1).contains(closed.url() + QStringLiteral("/mit%20Leerzeichen/c.htm")));
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
    EXPECT_TRUE(
        report.startsWith("Klasse,alte URL,Ziel-URL,HTTP-Status,Sprünge,Hinweise\r\nfehler,"));
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
    click("cmdStart");
    EXPECT_TRUE(
        readFile("site_Moved/mit Leerzeichen/c.htm").contains("https://anders.example/c\""));
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text,
              QStringLiteral("Die Zuordnungsdatei nennt Seiten, die es nicht gibt:\nnicht/da.htm"));
}
