#include "frmHTML.h"

#include "DesignFont.h"
#include "Dialogs.h"
#include "EngineError.h"
#include "FileSystem.h"
#include "Settings.h"
#include "SharedState.h"
#include "WindowRegistry.h"
#include "WindowShell.h"

#include <QCloseEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShortcut>

namespace {

const QString ApplicationTitle = QStringLiteral("Kelvane");

} // namespace

frmHTML::frmHTML(const SharedState& state, FileSystem& fileSystem, ShellContext context,
                 QWidget* parent)
    : QMainWindow(parent), m_state(state), m_fileSystem(fileSystem), m_context(context)
{
    setObjectName(QStringLiteral("frmHTML"));
    setWindowTitle(ApplicationTitle);
    DesignFont::apply(*this);
    m_shell = new WindowShell(*this, context, WindowShell::CloseEntry::Schliessen,
                              [this] { mnuFileNew_Click(); });
    createControls();
    connectControls();
    m_context.windows.add(*this);
    Form_Load();
    DesignFont::widenToFit(*this);
}

frmHTML::~frmHTML() = default;

void frmHTML::connectControls()
{
    connect(cmdDefault, &QPushButton::clicked, this, &frmHTML::cmdDefault_Click);
    connect(cmdSpeichern, &QPushButton::clicked, this, &frmHTML::cmdSpeichern_Click);
    connect(cmdAbbrechen, &QPushButton::clicked, this, &frmHTML::cmdAbbrechen_Click);
    // "Abbrechen" is the window's cancel button: Escape presses it, also
    // inside the text, while Enter stays a line break there.
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    escape->setObjectName(QStringLiteral("escAbbrechen"));
    connect(escape, &QShortcut::activated, cmdAbbrechen, &QPushButton::click);
}

void frmHTML::Form_Load()
{
    m_position.restore(*this);
    LoadTemplate();
}

void frmHTML::LoadTemplate()
{
    m_readOnlyView = m_state.UseStandardTemplate;
    if (m_readOnlyView) {
        showReadOnlyView();
        m_template = readTemplate(m_state.StandardTemplatePath).value_or(TemplateText());
    } else {
        setEditorText(QStringLiteral("usertext laden"));
        txtDateiname->setPlainText(QString::fromStdString(m_state.UserTemplatePath));
        m_template = readTemplate(m_state.UserTemplatePath).value_or(TemplateText());
    }
    setEditorText(m_template.text());
}

void frmHTML::showReadOnlyView()
{
    lblAnmerkung->hide();
    txtDateiname->hide();
    cmdDefault->setEnabled(false);
    cmdSpeichern->setEnabled(false);
    cmdAbbrechen->setText(QStringLiteral("Schließen"));
    txtCode->setReadOnly(true);
    txtCode->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    QPalette buttonFace = txtCode->palette();
    buttonFace.setColor(QPalette::Base, buttonFace.color(QPalette::Button));
    txtCode->setPalette(buttonFace);
}

std::optional<TemplateText> frmHTML::readTemplate(const std::string& path)
{
    try {
        return TemplateText::fromBytes(m_fileSystem.ReadAll(path));
    } catch (const EngineError& error) {
        // The editor still opens, empty; in edit mode the user can type or
        // take the standard text and save.
        m_context.dialogs.message(this, ApplicationTitle,
                                  QStringLiteral("Die Vorlage konnte nicht gelesen werden.\n\n") +
                                      QString::fromStdString(error.what()),
                                  QMessageBox::Critical, QMessageBox::Ok);
        return std::nullopt;
    }
}

void frmHTML::mnuFileNew_Click()
{
    if (!m_readOnlyView)
        setEditorText(QString());
}

void frmHTML::cmdDefault_Click()
{
    if (m_readOnlyView)
        return;
    // Saving right after this writes the standard file's bytes as they are.
    if (auto standard = readTemplate(m_state.StandardTemplatePath)) {
        m_template = std::move(*standard);
        setEditorText(m_template.text());
    }
}

void frmHTML::cmdSpeichern_Click()
{
    if (m_readOnlyView || !writeUserTemplate())
        return;
    m_context.dialogs.message(this, ApplicationTitle, QStringLiteral("Datei wurde gespeichert."),
                              QMessageBox::NoIcon, QMessageBox::Ok);
    close();
}

bool frmHTML::writeUserTemplate()
{
    try {
        m_fileSystem.WriteFile(m_state.UserTemplatePath, m_template.bytesFor(editorText()));
        return true;
    } catch (const EngineError& error) {
        // The file is as it was before; the text stays in the window, so
        // the user can save again once the cause is removed.
        m_context.dialogs.message(this, ApplicationTitle,
                                  QStringLiteral("Die Datei wurde nicht gespeichert.\n\n") +
                                      QString::fromStdString(error.what()),
                                  QMessageBox::Critical, QMessageBox::Ok);
        return false;
    }
}

void frmHTML::cmdAbbrechen_Click()
{
    close();
}

void frmHTML::closeEvent(QCloseEvent* event)
{
    Form_Unload();
    event->accept();
}

void frmHTML::Form_Unload()
{
    m_context.windows.closeAllButFirst();
    m_position.save(*this);
}

QString frmHTML::editorText() const
{
    // The raw text keeps no-break spaces, which toPlainText() would turn
    // into plain ones; lines are separated by the paragraph separator.
    QString text = txtCode->document()->toRawText();
    text.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    return text;
}

void frmHTML::setEditorText(const QString& text)
{
    txtCode->setPlainText(text);
}
