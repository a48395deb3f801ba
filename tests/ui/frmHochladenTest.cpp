#include "frmHochladen.h"

#include "MainWindowFixture.h"
#include "PasswordStore.h"
#include "Settings.h"

#include <QCheckBox>
#include <QComboBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSettings>
#include <QSpinBox>
#include <arpa/inet.h>
#include <map>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

// The secret store of the tests: a map, and what was asked of it.
class FakePasswordStore final : public PasswordStore
{
public:
    std::map<QString, QString> stored;

    QString read(const QString& account) override
    {
        const auto found = stored.find(account);
        return found == stored.end() ? QString() : found->second;
    }
    bool write(const QString& account, const QString& password) override
    {
        stored[account] = password;
        return true;
    }
    void remove(const QString& account) override { stored.erase(account); }
};

// A loopback port nobody listens on.
int closedPort()
{
    const int socket = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{AF_INET, 0, {htonl(INADDR_LOOPBACK)}, {}};
    socklen_t length = sizeof address;
    ::bind(socket, reinterpret_cast<sockaddr*>(&address), length);
    ::getsockname(socket, reinterpret_cast<sockaddr*>(&address), &length);
    ::close(socket);
    return ntohs(address.sin_port);
}

} // namespace

class frmHochladenTest : public MainWindowFixture
{
public:
    void SetUp() override
    {
        MainWindowFixture::SetUp();
        writeFile("site_Moved/index.htm", "neue Seite");
    }

    std::unique_ptr<frmHochladen> openDialog()
    {
        auto dialog = std::make_unique<frmHochladen>(fileSystem, dialogs, passwords,
                                                     path("site_Moved").toStdString());
        dialog->show();
        return dialog;
    }

    template <typename Widget>
    static Widget* in(frmHochladen& dialog, const char* name)
    {
        auto* widget = dialog.findChild<Widget*>(QString::fromLatin1(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }

    static void fill(frmHochladen& dialog, int protocol, int port)
    {
        in<QComboBox>(dialog, "cboProtokoll")->setCurrentIndex(protocol);
        in<QLineEdit>(dialog, "txtRechner")->setText(QStringLiteral("127.0.0.1"));
        in<QSpinBox>(dialog, "txtPort")->setValue(port);
        in<QLineEdit>(dialog, "txtBenutzer")->setText(QStringLiteral("anna"));
        in<QLineEdit>(dialog, "txtKennwort")->setText(QStringLiteral("Geheim-42"));
        in<QLineEdit>(dialog, "txtOrdner")->setText(QStringLiteral("htdocs/neu"));
    }

    static void startAndWait(frmHochladen& dialog)
    {
        QTest::mouseClick(in<QPushButton>(dialog, "cmdStart"), Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(!dialog.isUploading(), 30000);
    }

    FakePasswordStore passwords;
};

// A refused connection ends the upload with the reason and leaves the move
// check closed; every field but the password is remembered, and the
// password only in the secret store when asked to.
TEST_F(frmHochladenTest, RemembersFieldsButKeepsThePasswordInTheSecretStoreOnly)
{
    const int port = closedPort();
    {
        auto dialog = openDialog();
        fill(*dialog, 1, port);
        in<QCheckBox>(*dialog, "chkKennwortMerken")->setChecked(true);
        startAndWait(*dialog);
        EXPECT_TRUE(in<QPlainTextEdit>(*dialog, "txtErgebnis")
                        ->toPlainText()
                        .contains(QStringLiteral("keine Verbindung")));
        EXPECT_FALSE(in<QPushButton>(*dialog, "cmdPruefen")->isEnabled());
        EXPECT_TRUE(in<QLineEdit>(*dialog, "txtRechner")->isEnabled());
    }
    const QString account = QStringLiteral("ftps://anna@127.0.0.1:%1").arg(port);
    ASSERT_EQ(passwords.stored.count(account), 1u);
    EXPECT_EQ(passwords.stored[account], QStringLiteral("Geheim-42"));

    QSettings store(QStringLiteral("Kelvane"), QStringLiteral("Kelvane"));
    store.sync();
    QFile file(store.fileName());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray settings = file.readAll();
    EXPECT_FALSE(settings.contains("Geheim-42"));
    EXPECT_TRUE(settings.contains("[Extras]"));
    EXPECT_TRUE(settings.contains("HochladenRechner=127.0.0.1"));

    auto again = openDialog();
    EXPECT_EQ(in<QComboBox>(*again, "cboProtokoll")->currentIndex(), 1);
    EXPECT_EQ(in<QSpinBox>(*again, "txtPort")->value(), port);
    EXPECT_EQ(in<QLineEdit>(*again, "txtOrdner")->text(), QStringLiteral("htdocs/neu"));
    EXPECT_EQ(in<QLineEdit>(*again, "txtKennwort")->text(), QStringLiteral("Geheim-42"));

    // Unticked, the next start forgets the stored password.
    in<QCheckBox>(*again, "chkKennwortMerken")->setChecked(false);
    startAndWait(*again);
    EXPECT_EQ(passwords.stored.count(account), 0u);
}

TEST_F(frmHochladenTest, RefusesAnSftpTargetWithoutUserBeforeConnecting)
{
    auto dialog = openDialog();
    fill(*dialog, 0, 22);
    in<QLineEdit>(*dialog, "txtBenutzer")->clear();
    QTest::mouseClick(in<QPushButton>(*dialog, "cmdStart"), Qt::LeftButton);
    EXPECT_FALSE(dialog->isUploading());
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_TRUE(dialogs.messages[0].text.contains(QStringLiteral("Benutzer")));
}

// "Umzug prüfen" leaves with the old address stored for the check dialog.
TEST_F(frmHochladenTest, MoveCheckTakesTheOldAddress)
{
    auto dialog = openDialog();
    auto* check = in<QPushButton>(*dialog, "cmdPruefen");
    check->setEnabled(true);
    in<QLineEdit>(*dialog, "txtAlteAdresse")->setText(QStringLiteral("ftp://falsch"));
    QTest::mouseClick(check, Qt::LeftButton);
    EXPECT_FALSE(dialog->checkRequested());
    in<QLineEdit>(*dialog, "txtAlteAdresse")->setText(QStringLiteral("http://alt.example/home"));
    QTest::mouseClick(check, Qt::LeftButton);
    EXPECT_TRUE(dialog->checkRequested());
    EXPECT_EQ(Settings::read(Settings::Key::AlteAdresse),
              QStringLiteral("http://alt.example/home"));
}
