#include "frmHochladen.h"

#include "Dialogs.h"
#include "PasswordStore.h"
#include "Settings.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QUrl>
#include <QVBoxLayout>

namespace {

const QString ApplicationTitle = QStringLiteral("Kelvane");

// The settings keys of the section "Extras", one per field.
namespace Key {
const QString Protokoll = QStringLiteral("HochladenProtokoll");
const QString Rechner = QStringLiteral("HochladenRechner");
const QString Port = QStringLiteral("HochladenPort");
const QString Benutzer = QStringLiteral("HochladenBenutzer");
const QString Schluessel = QStringLiteral("HochladenSchluessel");
const QString Ordner = QStringLiteral("HochladenOrdner");
const QString KennwortMerken = QStringLiteral("HochladenKennwortMerken");
// A host key or certificate the user accepted, and for which account.
const QString Fingerabdruck = QStringLiteral("HochladenFingerabdruck");
const QString FingerabdruckFuer = QStringLiteral("HochladenFingerabdruckFuer");
} // namespace Key

QString amount(double bytes)
{
    if (bytes >= 1024 * 1024)
        return QStringLiteral("%1 MB").arg(bytes / (1024 * 1024), 0, 'f', 1).replace(u'.', u',');
    return QStringLiteral("%1 kB").arg(bytes / 1024, 0, 'f', 1).replace(u'.', u',');
}

bool isWebAddress(const QString& text)
{
    return text.startsWith(QStringLiteral("http://")) ||
           text.startsWith(QStringLiteral("https://"));
}

} // namespace

frmHochladen::frmHochladen(FileSystem& fileSystem, Dialogs& dialogs, PasswordStore& passwords,
                           std::string outputRoot, QWidget* parent)
    : QDialog(parent), m_fileSystem(fileSystem), m_dialogs(dialogs), m_passwords(passwords),
      m_outputRoot(std::move(outputRoot))
{
    setObjectName(QStringLiteral("frmHochladen"));
    setWindowTitle(QStringLiteral("Hochladen"));
    createControls();
    loadSettings();
    connect(cboProtokoll, &QComboBox::currentIndexChanged, this, &frmHochladen::protocolChosen);
    connect(cmdVorschau, &QPushButton::clicked, this, &frmHochladen::cmdVorschau_Click);
    connect(cmdStart, &QPushButton::clicked, this, &frmHochladen::cmdStart_Click);
    connect(cmdPruefen, &QPushButton::clicked, this, &frmHochladen::cmdPruefen_Click);
}

frmHochladen::~frmHochladen()
{
    cancelUpload();
}

void frmHochladen::createControls()
{
    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    auto named = [this](auto* widget, const char* name) {
        widget->setObjectName(QString::fromLatin1(name));
        return widget;
    };
    cboProtokoll = named(new QComboBox(this), "cboProtokoll");
    cboProtokoll->addItems({QStringLiteral("SFTP"), QStringLiteral("FTPS (FTP mit TLS)"),
                            QStringLiteral("FTP (unverschlüsselt)")});
    txtRechner = named(new QLineEdit(this), "txtRechner");
    txtPort = named(new QSpinBox(this), "txtPort");
    txtPort->setRange(1, 65535);
    txtBenutzer = named(new QLineEdit(this), "txtBenutzer");
    txtKennwort = named(new QLineEdit(this), "txtKennwort");
    txtKennwort->setEchoMode(QLineEdit::Password);
    chkKennwortMerken =
        named(new QCheckBox(QStringLiteral("Kennwort merken"), this), "chkKennwortMerken");
    txtSchluessel = named(new QLineEdit(this), "txtSchluessel");
    txtSchluessel->setPlaceholderText(QStringLiteral("leer: SSH-Agent oder Kennwort"));
    txtOrdner = named(new QLineEdit(this), "txtOrdner");
    txtOrdner->setPlaceholderText(QStringLiteral("/htdocs"));
    txtAlteAdresse = named(new QLineEdit(this), "txtAlteAdresse");
    txtAlteAdresse->setPlaceholderText(QStringLiteral("http://www.example.com/alt"));
    form->addRow(QStringLiteral("&Protokoll:"), cboProtokoll);
    form->addRow(QStringLiteral("&Rechner:"), txtRechner);
    form->addRow(QStringLiteral("P&ort:"), txtPort);
    form->addRow(QStringLiteral("&Benutzer:"), txtBenutzer);
    form->addRow(QStringLiteral("&Kennwort:"), txtKennwort);
    form->addRow(QString(), chkKennwortMerken);
    form->addRow(QStringLiteral("&SSH-Schlüssel:"), txtSchluessel);
    form->addRow(QStringLiteral("&Zielordner:"), txtOrdner);
    form->addRow(QStringLiteral("&Alte Adresse:"), txtAlteAdresse);
    layout->addLayout(form);

    auto* buttons = new QHBoxLayout;
    cmdVorschau = named(new QPushButton(QStringLiteral("&Vorschau"), this), "cmdVorschau");
    cmdStart = named(new QPushButton(QStringLiteral("Start"), this), "cmdStart");
    cmdStart->setDefault(true);
    cmdPruefen = named(new QPushButton(QStringLiteral("Umzug &prüfen"), this), "cmdPruefen");
    cmdPruefen->setEnabled(false);
    buttons->addWidget(cmdVorschau);
    buttons->addWidget(cmdStart);
    buttons->addStretch(1);
    buttons->addWidget(cmdPruefen);
    layout->addLayout(buttons);

    prgFortschritt = named(new QProgressBar(this), "prgFortschritt");
    prgFortschritt->setFormat(QStringLiteral("%v von %m Dateien"));
    prgFortschritt->setValue(0);
    lblFortschritt = named(new QLabel(this), "lblFortschritt");
    txtErgebnis = named(new QPlainTextEdit(this), "txtErgebnis");
    txtErgebnis->setReadOnly(true);
    layout->addWidget(prgFortschritt);
    layout->addWidget(lblFortschritt);
    layout->addWidget(txtErgebnis, 1);
    resize(560, 520);
}

void frmHochladen::loadSettings()
{
    cboProtokoll->setCurrentIndex(
        Settings::readExtraText(Key::Protokoll, QStringLiteral("0")).toInt());
    txtRechner->setText(Settings::readExtraText(Key::Rechner));
    txtPort->setValue(Settings::readExtraText(Key::Port, QStringLiteral("22")).toInt());
    txtBenutzer->setText(Settings::readExtraText(Key::Benutzer));
    txtSchluessel->setText(Settings::readExtraText(Key::Schluessel));
    txtOrdner->setText(Settings::readExtraText(Key::Ordner));
    txtAlteAdresse->setText(Settings::read(Settings::Key::AlteAdresse));
    chkKennwortMerken->setChecked(Settings::readExtraText(Key::KennwortMerken) == u"1");
    if (chkKennwortMerken->isChecked() && !txtRechner->text().isEmpty())
        txtKennwort->setText(m_passwords.read(account()));
}

void frmHochladen::saveSettings()
{
    Settings::writeExtraText(Key::Protokoll, QString::number(cboProtokoll->currentIndex()));
    Settings::writeExtraText(Key::Rechner, txtRechner->text().trimmed());
    Settings::writeExtraText(Key::Port, QString::number(txtPort->value()));
    Settings::writeExtraText(Key::Benutzer, txtBenutzer->text().trimmed());
    Settings::writeExtraText(Key::Schluessel, txtSchluessel->text().trimmed());
    Settings::writeExtraText(Key::Ordner, txtOrdner->text().trimmed());
    Settings::writeExtraText(Key::KennwortMerken, chkKennwortMerken->isChecked()
                                                      ? QStringLiteral("1")
                                                      : QStringLiteral("0"));
    if (!txtAlteAdresse->text().trimmed().isEmpty())
        Settings::write(Settings::Key::AlteAdresse, txtAlteAdresse->text().trimmed());
    if (!chkKennwortMerken->isChecked())
        m_passwords.remove(account());
    else if (!txtKennwort->text().isEmpty() && !m_passwords.write(account(), txtKennwort->text()))
        txtErgebnis->appendPlainText(
            QStringLiteral("Das Kennwort ließ sich nicht im Schlüsselbund ablegen."));
}

// The usual port follows the protocol unless the user chose another.
void frmHochladen::protocolChosen(int index)
{
    const int usual = index == 0 ? 22 : 21;
    if (txtPort->value() == 21 || txtPort->value() == 22)
        txtPort->setValue(usual);
}

QString frmHochladen::account() const
{
    return QStringLiteral("%1://%2@%3:%4")
        .arg(QString::fromLatin1(UploadTarget::schemeOf(
                 static_cast<UploadTarget::Protocol>(cboProtokoll->currentIndex()))),
             txtBenutzer->text().trimmed(), txtRechner->text().trimmed())
        .arg(txtPort->value());
}

// The fields as the URL kelvane-cli takes, read by the same parser.
bool frmHochladen::targetFromFields(UploadTarget& target)
{
    QString folder = txtOrdner->text().trimmed();
    if (!folder.startsWith(u'/'))
        folder.prepend(u'/');
    const QString user = txtBenutzer->text().trimmed();
    const QString url =
        QString::fromLatin1(UploadTarget::schemeOf(
            static_cast<UploadTarget::Protocol>(cboProtokoll->currentIndex()))) +
        QStringLiteral("://") +
        (user.isEmpty() ? QString() : QString::fromLatin1(QUrl::toPercentEncoding(user)) + u'@') +
        txtRechner->text().trimmed() + u':' + QString::number(txtPort->value()) +
        QString::fromLatin1(QUrl::toPercentEncoding(folder, "/~"));
    std::string error;
    const std::optional<UploadTarget> parsed = UploadTarget::parse(url.toStdString(), error);
    if (parsed && parsed->Kind == UploadTarget::Protocol::Sftp && parsed->User.empty())
        error = "Für SFTP bitte den Benutzer angeben.";
    if (!parsed || !error.empty()) {
        m_dialogs.message(this, ApplicationTitle, QString::fromStdString(error),
                          QMessageBox::Information, QMessageBox::Ok);
        return false;
    }
    target = *parsed;
    return true;
}

void frmHochladen::cmdVorschau_Click()
{
    if (!isUploading())
        begin(true);
}

void frmHochladen::cmdStart_Click()
{
    if (isUploading())
        cancelUpload();
    else
        begin(false);
}

void frmHochladen::begin(bool preview, std::string acceptedFingerprint)
{
    SiteUpload::Options options;
    if (!targetFromFields(options.Target))
        return;
    saveSettings();
    options.Preview = preview;
    options.Access.Password = txtKennwort->text().toStdString();
    options.Access.KeyFile = txtSchluessel->text().trimmed().toStdString();
    options.Access.KnownHostsFile =
        (QDir::homePath() + QStringLiteral("/.ssh/known_hosts")).toStdString();
    if (acceptedFingerprint.empty() && Settings::readExtraText(Key::FingerabdruckFuer) == account())
        acceptedFingerprint = Settings::readExtraText(Key::Fingerabdruck).toStdString();
    options.Access.AcceptedHostKey = acceptedFingerprint;
    options.Access.PinnedCertificate = acceptedFingerprint;

    txtErgebnis->clear();
    if (options.Target.Kind == UploadTarget::Protocol::Ftp)
        txtErgebnis->appendPlainText(QStringLiteral(
            "Achtung: FTP ohne TLS überträgt Kennwort und Dateien unverschlüsselt."));
    prgFortschritt->setRange(0, 1);
    prgFortschritt->setValue(0);
    lblFortschritt->clear();
    cmdPruefen->setEnabled(false);
    setWorking(true);
    m_started = std::chrono::steady_clock::now();
    m_worker.start([this, options, preview](const std::atomic<bool>& cancelled) {
        SiteUpload upload(m_fileSystem, m_outputRoot, options);
        const SiteUpload::Result result = upload.run(
            [this](const SiteUpload::Progress& progress) {
                m_worker.post([this, progress] { showProgress(progress); });
            },
            [this](const std::string& notice) {
                m_worker.post([this, text = QString::fromStdString(notice)] {
                    txtErgebnis->appendPlainText(QStringLiteral("Hinweis: ") + text);
                });
            },
            &cancelled);
        m_worker.post([this, result, preview] { finished(result, preview); });
    });
}

void frmHochladen::setWorking(bool working)
{
    for (QWidget* field : std::initializer_list<QWidget*>{
             cboProtokoll, txtRechner, txtPort, txtBenutzer, txtKennwort, chkKennwortMerken,
             txtSchluessel, txtOrdner, cmdVorschau})
        field->setEnabled(!working);
    cmdStart->setText(working ? QStringLiteral("Abbrechen") : QStringLiteral("Start"));
}

void frmHochladen::cancelUpload()
{
    if (!m_worker.cancel())
        return;
    setWorking(false);
    lblFortschritt->setText(QStringLiteral("Abgebrochen."));
}

void frmHochladen::showProgress(const SiteUpload::Progress& progress)
{
    if (!isUploading())
        return;
    prgFortschritt->setRange(0, static_cast<int>(progress.FilesTotal));
    prgFortschritt->setValue(static_cast<int>(progress.FilesDone));
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - m_started).count();
    lblFortschritt->setText(
        QStringLiteral("%1 von %2, %3/s")
            .arg(amount(static_cast<double>(progress.BytesDone)),
                 amount(static_cast<double>(progress.BytesTotal)),
                 amount(seconds > 0 ? static_cast<double>(progress.BytesDone) / seconds : 0)));
}

void frmHochladen::finished(const SiteUpload::Result& result, bool preview)
{
    m_worker.finished();
    setWorking(false);
    if (result.State == SiteUpload::Outcome::Refused) {
        if (acceptFingerprint(result, preview))
            return;
        txtErgebnis->appendPlainText(QString::fromStdString(result.Message));
        return;
    }
    if (preview) {
        for (const std::string& path : result.Planned)
            txtErgebnis->appendPlainText(QString::fromStdString(path));
        txtErgebnis->appendPlainText(
            QStringLiteral("Vorschau: %1 Dateien würden gesendet, %2 sind unverändert.")
                .arg(result.Planned.size())
                .arg(result.Unchanged));
        return;
    }
    txtErgebnis->appendPlainText(QString::fromStdString(SiteUpload::summary(result)));
    if (!result.Message.empty())
        txtErgebnis->appendPlainText(QString::fromStdString(result.Message));
    cmdPruefen->setEnabled(result.State != SiteUpload::Outcome::Cancelled);
}

// An unknown host key or an untrusted certificate: the user may accept it
// by its fingerprint; a changed host key is never offered.
bool frmHochladen::acceptFingerprint(const SiteUpload::Result& result, bool preview)
{
    if (result.UntrustedFingerprint.empty() || result.HostKeyChanged)
        return false;
    const bool ssh = cboProtokoll->currentIndex() == 0;
    const QString fingerprint = QString::fromStdString(result.UntrustedFingerprint);
    const QString text =
        (ssh ? QStringLiteral("Der Hostschlüssel von %1 ist unbekannt.")
             : QStringLiteral("Dem Zertifikat von %1 bürgt keine bekannte Stelle."))
            .arg(txtRechner->text().trimmed()) +
        QStringLiteral("\n\nFingerabdruck:\n%1\n\nNur annehmen, wenn er mit dem übereinstimmt, "
                       "den der Anbieter nennt. Annehmen?")
            .arg(fingerprint);
    if (m_dialogs.message(this, ApplicationTitle, text, QMessageBox::Question,
                          QMessageBox::Yes | QMessageBox::No) != QMessageBox::Yes)
        return false;
    Settings::writeExtraText(Key::Fingerabdruck, fingerprint);
    Settings::writeExtraText(Key::FingerabdruckFuer, account());
    begin(preview, result.UntrustedFingerprint);
    return true;
}

void frmHochladen::cmdPruefen_Click()
{
    const QString address = txtAlteAdresse->text().trimmed();
    if (!isWebAddress(address)) {
        m_dialogs.message(
            this, ApplicationTitle,
            QStringLiteral("Bitte die alte Adresse mit http:// oder https:// angeben."),
            QMessageBox::Information, QMessageBox::Ok);
        txtAlteAdresse->setFocus(Qt::OtherFocusReason);
        return;
    }
    Settings::write(Settings::Key::AlteAdresse, address);
    m_checkRequested = true;
    accept();
}

void frmHochladen::closeEvent(QCloseEvent* event)
{
    cancelUpload();
    QDialog::closeEvent(event);
}

void frmHochladen::reject()
{
    cancelUpload();
    QDialog::reject();
}
