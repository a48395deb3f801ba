#include "frmMain.h"

#include "DesignFont.h"
#include "Dialogs.h"
#include "ExtrasMenu.h"
#include "FolderDropFilter.h"
#include "KeychainPasswordStore.h"
#include "MainWindowRelocation.h"
#include "MappingFile.h"
#include "OutputFiles.h"
#include "Relocation.h"
#include "RunProgress.h"
#include "Settings.h"
#include "SharedState.h"
#include "ShownText.h"
#include "WindowRegistry.h"
#include "WindowShell.h"
#include "frmHTML.h"
#include "frmHochladen.h"
#include "frmUmzugPruefen.h"
#include "frmZuordnungVorschlagen.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDir>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <algorithm>
#include <initializer_list>
#include <utility>

namespace {

// Qt leaves the caret, and with it the view, at the end of a text that is
// set; a field shows the beginning of its text instead.
void showFromStart(QLineEdit& field, const QString& text)
{
    field.setText(text);
    field.setCursorPosition(0);
}

} // namespace

frmMain::frmMain(SharedState& state, FileSystem& fileSystem, ShellContext context, QWidget* parent)
    : QMainWindow(parent), m_state(state), m_fileSystem(fileSystem), m_context(context)
{
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QStringLiteral("Kelvane"));
    DesignFont::apply(*this);
    m_shell = std::make_unique<WindowShell>(*this, context, WindowShell::CloseEntry::Beenden,
                                            [this] { mnuFileNew_Click(); });
    m_extras = new ExtrasMenu(*this);
    createControls();
    m_mapping = new MappingFile(*this, *m_shell->statusBar(), m_context.dialogs);
    createExtrasMenu();
    connectControls();
    m_context.windows.add(*this);
    Form_Load();
    DesignFont::widenToFit(*this);
}

frmMain::~frmMain() = default;

frmHTML* frmMain::editorForm() const
{
    return EditorForm;
}

void frmMain::connectControls()
{
    connect(cmdVerzeichnis, &QPushButton::clicked, this, &frmMain::cmdVerzeichnis_Click);
    connect(optHTML, &QButtonGroup::idClicked, this, &frmMain::optHTML_Click);
    connect(cmdHTML, &QPushButton::clicked, this, &frmMain::cmdHTML_Click);
    connect(cmdStart, &QPushButton::clicked, this, &frmMain::cmdStart_Click);
    new FolderDropFilter(*txtVerzeichnis);
}

void frmMain::Form_Load()
{
    m_position.restore(*this);
    showFromStart(*txtVerzeichnis, Settings::read(Settings::Key::Verzeichnis));
    showFromStart(*txtDateitypen, Settings::read(Settings::Key::Dateitypen));
    showFromStart(*txtURLneu, Settings::read(Settings::Key::URLneu));
    m_extras->load();
}

void frmMain::Form_Unload()
{
    m_context.windows.closeAllButFirst();
    m_position.save(*this);
    Settings::write(Settings::Key::Verzeichnis, txtVerzeichnis->text());
    Settings::write(Settings::Key::Dateitypen, txtDateitypen->text());
    Settings::write(Settings::Key::URLneu, txtURLneu->text());
    m_extras->save();
}

void frmMain::closeEvent(QCloseEvent* event)
{
    if (m_running) {
        // The run looks at this after every page and ends there; the window
        // closes when the run has returned, so no page is left half written.
        m_closeRequested = true;
        event->ignore();
        return;
    }
    Form_Unload();
    event->accept();
}

void frmMain::mnuFileNew_Click()
{
    // The run reads the URL and the check box for every page; resetting them
    // half-way would give the pages of one run different addresses.
    if (m_running)
        return;
    showFromStart(*txtVerzeichnis, Settings::defaultDirectory());
    showFromStart(*txtDateitypen, Settings::defaultValue(Settings::Key::Dateitypen));
    showFromStart(*txtURLneu, Settings::exampleUrl());
    chkUnterverzeichnis->setCheckState(Qt::Checked);
}

void frmMain::cmdVerzeichnis_Click()
{
    const QString folder =
        m_context.dialogs.chooseFolder(this, QStringLiteral("Bitte Verzeichnis wählen:"));
    if (!folder.isEmpty())
        showFromStart(*txtVerzeichnis, folder);
}

void frmMain::optHTML_Click(int index)
{
    switch (index) {
    case 0:
        cmdHTML->setText(QStringLiteral("Anzeigen"));
        m_state.UseStandardTemplate = true;
        break;
    case 1:
        cmdHTML->setText(QStringLiteral("Bearbeiten"));
        m_state.UseStandardTemplate = false;
        break;
    default:
        break;
    }
}

void frmMain::cmdHTML_Click()
{
    // Only the newest editor is kept; the one before has closed already.
    if (EditorForm)
        EditorForm->deleteLater();
    EditorForm = new frmHTML(m_state, m_fileSystem, m_context, this);
    m_context.dialogs.runModal(*EditorForm);
}

void frmMain::cmdStart_Click()
{
    // While a run yields to window events, a second press would start a run
    // inside the running one.
    if (m_running)
        return;
    const QString oldAddress = Settings::read(Settings::Key::AlteAdresse);
    if (const QString refusal = m_extras->refusal(oldAddress); !refusal.isEmpty()) {
        m_context.dialogs.message(this, QStringLiteral("Kelvane"), refusal,
                                  QMessageBox::Information, QMessageBox::Ok);
        return;
    }
    if (!mappingMayBeUsed())
        return;
    m_running = true;
    std::vector<std::string> unmapped, caseTwins;
    {
        RelocationInputs inputs = relocationInputs();
        OutputFiles extraFiles(inputs, oldAddress.toStdString());
        m_extras->choose(extraFiles);
        inputs.NeedsAbsoluteUrl = extraFiles.holdsServerRules();
        OutputFiles::Result written;
        bool extrasRefused = false;
        std::string outputRoot;
        {
            MainWindowRelocation window(*this);
            Relocation relocation(window, m_fileSystem, m_state, inputs);
            relocation.setExtraFiles(&extraFiles);
            relocation.run();
            extrasRefused = relocation.mappingRefused() || relocation.extraFileRefused();
            written = relocation.extraFilesWritten();
            outputRoot = relocation.outputRoot();
            unmapped = relocation.unmappedPaths();
            caseTwins = relocation.caseWarnings();
        }
        // The run leaves the status as it was after most refusals; one for
        // the Extras must not leave the "Fertig" of the run before.
        if (extrasRefused)
            SetStatus(QString::fromUtf8(Relocation::AbortedStatus));
        showExtras(written, outputRoot);
    }
    m_running = false;
    hideProgress();
    warnUnmapped(unmapped);
    warnCaseTwins(caseTwins);
    if (std::exchange(m_closeRequested, false))
        close();
}

RelocationInputs frmMain::relocationInputs() const
{
    int box = 2;
    if (chkUnterverzeichnis->checkState() == Qt::Unchecked)
        box = 0;
    else if (chkUnterverzeichnis->checkState() == Qt::Checked)
        box = 1;
    return {txtVerzeichnis->text().toStdString(),
            txtDateitypen->text().toStdString(),
            txtURLneu->text().toStdString(),
            box,
            m_state.UseStandardTemplate,
            MappingFile::path().toStdString(),
            m_extras->allFilesChosen()};
}

// Below the extra files: the mapping file and the check of a move.
void frmMain::createExtrasMenu()
{
    QMenu* extras = m_extras->menu();
    extras->addSeparator()->setObjectName(QStringLiteral("mnuExtrasBar1"));
    QAction* mapping = extras->addAction(QStringLiteral("&Zuordnungsdatei…"));
    mapping->setObjectName(QStringLiteral("mnuExtrasZuordnung"));
    connect(mapping, &QAction::triggered, this, &frmMain::mnuExtrasZuordnung_Click);
    QAction* suggest = extras->addAction(QStringLiteral("Zuordnung &vorschlagen…"));
    suggest->setObjectName(QStringLiteral("mnuExtrasVorschlagen"));
    connect(suggest, &QAction::triggered, this, &frmMain::mnuExtrasVorschlagen_Click);
    QAction* check = extras->addAction(QStringLiteral("Umzug &prüfen…"));
    check->setObjectName(QStringLiteral("mnuExtrasPruefen"));
    connect(check, &QAction::triggered, this, &frmMain::mnuExtrasPruefen_Click);
    QAction* upload = extras->addAction(QStringLiteral("&Hochladen…"));
    upload->setObjectName(QStringLiteral("mnuExtrasHochladen"));
    connect(upload, &QAction::triggered, this, &frmMain::mnuExtrasHochladen_Click);
}

void frmMain::mnuExtrasZuordnung_Click()
{
    const QString current = MappingFile::path();
    if (!current.isEmpty()) {
        const QMessageBox::StandardButton answer = m_context.dialogs.message(
            this, QStringLiteral("Kelvane"),
            QStringLiteral("Zuordnungsdatei: ") + current +
                QStringLiteral("\n\nEine andere Datei wählen? Mit „Nein“ gilt keine "
                               "Zuordnungsdatei mehr."),
            QMessageBox::Question, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        if (answer == QMessageBox::No)
            m_mapping->clear();
        if (answer != QMessageBox::Yes)
            return;
    }
    const QString file = m_context.dialogs.chooseFile(
        this, QStringLiteral("Zuordnungsdatei wählen"),
        QStringLiteral("CSV-Dateien (*.csv);;Alle Dateien (*)"), false);
    if (!file.isEmpty())
        m_mapping->choose(file, txtVerzeichnis->text());
}

// Asked before anything is written or checked; a No ends there.
bool frmMain::mappingMayBeUsed()
{
    if (m_mapping->mayBeUsedFor(txtVerzeichnis->text()))
        return true;
    SetStatus(QString::fromUtf8(Relocation::AbortedStatus));
    return false;
}

void frmMain::mnuExtrasVorschlagen_Click()
{
    if (m_running)
        return;
    frmZuordnungVorschlagen dialog(m_state, m_fileSystem, m_context.dialogs, relocationInputs(),
                                   this);
    m_context.dialogs.runModal(dialog);
}

void frmMain::mnuExtrasPruefen_Click()
{
    if (m_running || !mappingMayBeUsed())
        return;
    frmUmzugPruefen dialog(m_state, m_fileSystem, m_context.dialogs, relocationInputs(), this);
    m_context.dialogs.runModal(dialog);
}

// Uploads the current folder's output tree; the move check may follow.
void frmMain::mnuExtrasHochladen_Click()
{
    if (m_running)
        return;
    static KeychainPasswordStore passwords;
    frmHochladen dialog(m_fileSystem, m_context.dialogs, passwords,
                        SiteUpload::outputRootOf(txtVerzeichnis->text().toStdString()), this);
    m_context.dialogs.runModal(dialog);
    if (dialog.checkRequested())
        mnuExtrasPruefen_Click();
}

// One message after the run for every listed path that named no page.
void frmMain::warnUnmapped(const std::vector<std::string>& paths)
{
    std::vector<std::string> shown;
    for (const std::string& path : paths)
        shown.push_back(ShownText::visible(path));
    warnWithList(QStringLiteral("Die Zuordnungsdatei nennt Seiten, die es nicht gibt:"), shown);
}

// Both pages were written here; the warning is for the host they go to.
void frmMain::warnCaseTwins(const std::vector<std::string>& warnings)
{
    warnWithList(QStringLiteral("Nicht jeder Server hält alle Seiten auseinander:"), warnings);
}

// One box after the run, however many lines: the first ten and a count.
void frmMain::warnWithList(const QString& heading, const std::vector<std::string>& lines)
{
    if (lines.empty())
        return;
    constexpr std::size_t Shown = 10;
    QString text = heading;
    for (std::size_t i = 0; i < std::min(lines.size(), Shown); ++i)
        text += QStringLiteral("\n") + QString::fromStdString(lines[i]);
    if (lines.size() > Shown)
        text += QStringLiteral("\n… und %1 weitere").arg(lines.size() - Shown);
    m_context.dialogs.message(this, QStringLiteral("Kelvane"), text, QMessageBox::Warning,
                              QMessageBox::Ok);
}

void frmMain::showExtras(const OutputFiles::Result& result, const std::string& outputRoot)
{
    if (!result.Written.empty()) {
        // Six names do not fit beside the count; the status names where the
        // pages went and counts the files, which its tooltip lists.
        QStringList names;
        for (const std::string& name : result.Written)
            names.append(QString::fromStdString(name));
        const QString written =
            names.size() == 1 ? names.first() : QStringLiteral("%1 Dateien").arg(names.size());
        m_shell->setStatusText(m_shell->statusText() + QStringLiteral(", Seiten in ") +
                                   QDir::toNativeSeparators(QString::fromStdString(outputRoot)) +
                                   QStringLiteral(", geschrieben: ") + written,
                               QStringLiteral("Geschrieben:\n") + names.join(u'\n'));
    }
    const auto show = [this](const std::vector<std::string>& texts, QMessageBox::Icon icon) {
        if (texts.empty())
            return;
        QStringList lines;
        for (const std::string& text : texts)
            lines.append(QString::fromStdString(ShownText::visible(text, true))
                             .replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
        m_context.dialogs.message(this, QStringLiteral("Kelvane"), lines.join(u'\n'), icon,
                                  QMessageBox::Ok);
    };
    show(result.Errors, QMessageBox::Critical);
    show(result.Warnings, QMessageBox::Information);
}

void frmMain::focusVerzeichnis()
{
    txtVerzeichnis->setFocus(Qt::OtherFocusReason);
}

void frmMain::SetStatus(const QString& text)
{
    m_shell->setStatusText(text);
}

void frmMain::EnableInputs(bool enabled)
{
    const std::initializer_list<QWidget*> inputs{txtVerzeichnis,  txtDateitypen,
                                                 txtURLneu,       optHTMLStandard,
                                                 optHTMLBenutzer, chkUnterverzeichnis};
    for (QWidget* input : inputs)
        input->setEnabled(enabled);
}

void frmMain::showProgress(int pagesWritten, int pagesFound)
{
    m_progress->show(pagesWritten, pagesFound);
}

void frmMain::hideProgress()
{
    m_progress->hide();
}
