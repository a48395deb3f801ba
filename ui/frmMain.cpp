#include "frmMain.h"

#include "DesignFont.h"
#include "Dialogs.h"
#include "FolderDropFilter.h"
#include "MainWindowRelocation.h"
#include "Relocation.h"
#include "RunProgress.h"
#include "Settings.h"
#include "SharedState.h"
#include "WindowRegistry.h"
#include "WindowShell.h"
#include "frmHTML.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QLineEdit>
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
    createControls();
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
}

void frmMain::Form_Unload()
{
    m_context.windows.closeAllButFirst();
    m_position.save(*this);
    Settings::write(Settings::Key::Verzeichnis, txtVerzeichnis->text());
    Settings::write(Settings::Key::Dateitypen, txtDateitypen->text());
    Settings::write(Settings::Key::URLneu, txtURLneu->text());
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
    m_running = true;
    {
        MainWindowRelocation window(*this);
        Relocation(window, m_fileSystem, m_state, relocationInputs()).run();
    }
    m_running = false;
    hideProgress();
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
    return {txtVerzeichnis->text().toStdString(), txtDateitypen->text().toStdString(),
            txtURLneu->text().toStdString(), box, m_state.UseStandardTemplate};
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
