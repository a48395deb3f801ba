#include "frmZuordnungVorschlagen.h"

#include "MainWindowFixture.h"
#include "Settings.h"

#include <QAbstractItemDelegate>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <arpa/inet.h>
#include <functional>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

// A loopback port that accepts connections and never answers.
struct SilentPort
{
    SilentPort() : socket(::socket(AF_INET, SOCK_STREAM, 0))
    {
        sockaddr_in address{AF_INET, 0, {htonl(INADDR_LOOPBACK)}, {}};
        socklen_t length = sizeof address;
        ::bind(socket, reinterpret_cast<sockaddr*>(&address), length);
        ::listen(socket, 16);
        ::getsockname(socket, reinterpret_cast<sockaddr*>(&address), &length);
        port = ntohs(address.sin_port);
    }
    ~SilentPort() { ::close(socket); }

    int socket;
    int port = 0;
};

QByteArray page(const char* title, const char* text)
{
    QByteArray paragraphs;
    for (int i = 0; i < 4; ++i)
        paragraphs += QByteArray("<p>") + text + "</p>";
    return QByteArray("<html><head><title>") + title + "</title></head><body><h1>" + title +
           "</h1>" + paragraphs + "</body></html>";
}

} // namespace

class frmZuordnungVorschlagenTest : public MainWindowFixture
{
public:
    void SetUp() override
    {
        MainWindowFixture::SetUp();
        writeFile("alt/verein/geschichte.htm",
                  page("Geschichte", "gegründet 1920 von zwölf Turnern im Gasthaus Linde"));
        writeFile("alt/kontakt.htm", page("Kontakt", "Telefon Rathaus Anfahrt Bus Bahn"));
        writeFile("alt/turnier.htm",
                  page("Turnier", "Pokal Sieger Finale Zuschauer Schiedsrichter"));
        writeFile("neu/index.html", page("Willkommen", "Neuigkeiten Termine Verein"));
        writeFile("neu/ueber-uns/chronik/index.html",
                  page("Chronik", "gegründet 1920 von zwölf Turnern im Gasthaus Linde"));
        writeFile("neu/kontakt/index.html", page("Kontakt", "Telefon Rathaus Anfahrt Bus Bahn"));
        openWindow();
        typeInto("txtVerzeichnis", path("alt"));
        typeInto("txtURLneu", QStringLiteral("https://neu.example"));
    }

    void withDialog(const std::function<void(frmZuordnungVorschlagen&)>& user)
    {
        bool opened = false;
        dialogs.whileModalOpen = [&](QWidget& shown) {
            auto* dialog = qobject_cast<frmZuordnungVorschlagen*>(&shown);
            ASSERT_NE(dialog, nullptr);
            opened = true;
            user(*dialog);
        };
        window->findChild<QAction*>(QStringLiteral("mnuExtrasVorschlagen"))->trigger();
        EXPECT_TRUE(opened);
    }

    static void start(frmZuordnungVorschlagen& dialog, const QString& site)
    {
        dialog.findChild<QLineEdit*>(QStringLiteral("txtNeueSite"))->setText(site);
        QTest::mouseClick(dialog.findChild<QPushButton*>(QStringLiteral("cmdStart")),
                          Qt::LeftButton);
    }

    static QTableView* table(frmZuordnungVorschlagen& dialog)
    {
        return dialog.findChild<QTableView*>(QStringLiteral("tblVorschlag"));
    }

    static QStringList column(frmZuordnungVorschlagen& dialog, int column)
    {
        QAbstractItemModel* model = table(dialog)->model();
        QStringList texts;
        for (int row = 0; row < model->rowCount(); ++row)
            texts << model->index(row, column).data().toString();
        return texts;
    }
};

TEST_F(frmZuordnungVorschlagenTest, SuggestsFromAFolderFiltersLetsPickACandidateAndAccepts)
{
    dialogs.file = path("vorschlag.csv");
    withDialog([&](frmZuordnungVorschlagen& dialog) {
        dialogs.folder = path("neu");
        QTest::mouseClick(dialog.findChild<QPushButton*>(QStringLiteral("cmdOrdner")),
                          Qt::LeftButton);
        start(dialog, dialog.findChild<QLineEdit*>(QStringLiteral("txtNeueSite"))->text());
        QTRY_VERIFY_WITH_TIMEOUT(!dialog.isWorking(), 20000);

        table(dialog)->sortByColumn(0, Qt::AscendingOrder);
        EXPECT_EQ(column(dialog, 0),
                  (QStringList{QStringLiteral("kontakt.htm"), QStringLiteral("turnier.htm"),
                               QStringLiteral("verein/geschichte.htm")}));
        EXPECT_EQ(column(dialog, 1),
                  (QStringList{QStringLiteral("https://neu.example/kontakt/"), QString(),
                               QStringLiteral("https://neu.example/ueber-uns/chronik/")}));
        EXPECT_EQ(column(dialog, 2)[1], QStringLiteral("kein Treffer"));

        auto* filter = dialog.findChild<QComboBox*>(QStringLiteral("cboUrteil"));
        filter->setCurrentText(QStringLiteral("kein Treffer"));
        ASSERT_EQ(column(dialog, 0), QStringList{QStringLiteral("turnier.htm")});

        // The user sends the tournament to the home page after all, picked
        // from the candidates, or typed.
        const QModelIndex address = table(dialog)->model()->index(0, 1);
        table(dialog)->edit(address);
        auto* editor = table(dialog)->findChild<QComboBox*>(QStringLiteral("cboKandidat"));
        ASSERT_NE(editor, nullptr);
        editor->setCurrentText(QStringLiteral("https://neu.example/"));
        emit table(dialog)->itemDelegateForColumn(1)->commitData(editor);
        EXPECT_EQ(address.data().toString(), QStringLiteral("https://neu.example/"));

        filter->setCurrentText(QStringLiteral("alle Urteile"));
        QTest::mouseClick(dialog.findChild<QPushButton*>(QStringLiteral("cmdUebernehmen")),
                          Qt::LeftButton);
        EXPECT_FALSE(dialog.isVisible());
        EXPECT_TRUE(dialogs.messages.empty());
    });
    const QByteArray mapping = readFile("vorschlag.csv");
    EXPECT_TRUE(mapping.startsWith("alte Datei,neue URL,Urteil,Wert,zweite URL\r\n"));
    EXPECT_TRUE(mapping.contains("\r\nturnier.htm,https://neu.example/,kein Treffer,"));
    EXPECT_TRUE(mapping.contains("\r\nkontakt.htm,https://neu.example/kontakt/,sicher,"));
    EXPECT_EQ(Settings::read(Settings::Key::Zuordnungsdatei), path("vorschlag.csv"));
    EXPECT_EQ(dialogs.folderPrompts.size(), 1u);
}

TEST_F(frmZuordnungVorschlagenTest, RefusesAFaultyAddressAndASiteThatIsNone)
{
    withDialog([&](frmZuordnungVorschlagen& dialog) {
        start(dialog, path("gibt-es-nicht"));
        QTRY_VERIFY_WITH_TIMEOUT(!dialog.isWorking(), 20000);
        ASSERT_EQ(dialogs.messages.size(), 1u);
        EXPECT_TRUE(dialogs.messages[0].text.contains(QStringLiteral("weder ein Ordner")));
        EXPECT_FALSE(dialog.findChild<QPushButton*>(QStringLiteral("cmdUebernehmen"))->isEnabled());

        start(dialog, path("neu"));
        QTRY_VERIFY_WITH_TIMEOUT(!dialog.isWorking(), 20000);
        table(dialog)->model()->setData(table(dialog)->model()->index(0, 1),
                                        QStringLiteral("neu/kontakt"));
        dialogs.file = path("nie.csv");
        QTest::mouseClick(dialog.findChild<QPushButton*>(QStringLiteral("cmdUebernehmen")),
                          Qt::LeftButton);
        ASSERT_EQ(dialogs.messages.size(), 2u);
        EXPECT_TRUE(
            dialogs.messages[1].text.startsWith(QStringLiteral("Diese Adresse geht nicht")));
        EXPECT_TRUE(dialog.isVisible());
    });
    EXPECT_FALSE(exists("nie.csv"));
    EXPECT_EQ(Settings::read(Settings::Key::Zuordnungsdatei), QString());
}

TEST_F(frmZuordnungVorschlagenTest, ClosingTheDialogCancelsTheWork)
{
    const SilentPort silent;
    withDialog([&](frmZuordnungVorschlagen& dialog) {
        start(dialog, QStringLiteral("http://127.0.0.1:%1/").arg(silent.port));
        ASSERT_TRUE(dialog.isWorking());
        EXPECT_EQ(dialog.findChild<QPushButton*>(QStringLiteral("cmdStart"))->text(),
                  QStringLiteral("Abbrechen"));
        QTest::qWait(100);
        dialog.close();
        EXPECT_FALSE(dialog.isWorking());
        EXPECT_EQ(dialog.findChild<QLabel*>(QStringLiteral("lblSchritt"))->text(),
                  QStringLiteral("Abgebrochen."));
        EXPECT_EQ(column(dialog, 0), QStringList());
    });
}
