#include "WindowShell.h"

#include "ClientAreaHost.h"
#include "Clipboard.h"
#include "Dialogs.h"
#include "SelectionKeeper.h"
#include "StatusPanel.h"
#include "TextSelection.h"
#include "frmAbout.h"

#include <QAction>
#include <QLabel>
#include <QMainWindow>
#include <QStatusBar>
#include <QToolBar>
#include <exception>

void WindowShell::setStatusText(const QString& text, const QString& details)
{
    m_statusPanel->setFullText(text, details);
}

QString WindowShell::statusText() const
{
    return m_statusPanel->fullText();
}

QStatusBar* WindowShell::statusBar() const
{
    return m_statusBar;
}

QToolBar* WindowShell::toolBar() const
{
    return m_toolBar;
}

void WindowShell::setClientArea(QWidget& clientArea)
{
    m_window.setCentralWidget(new ClientAreaHost(clientArea, *m_toolBar, m_window));
}

QAction* WindowShell::action(const QString& name) const
{
    for (QAction* entry : m_actions) {
        if (entry->objectName() == name)
            return entry;
    }
    return nullptr;
}

void WindowShell::tbToolBar_ButtonClick(const QString& key)
{
    // A failing command from the toolbar is ignored: the button just did
    // nothing.
    try {
        if (key == u"New")
            mnuFileNew_Click();
        else if (key == u"Cut")
            mnuEditCut_Click();
        else if (key == u"Copy")
            mnuEditCopy_Click();
        else if (key == u"Paste")
            mnuEditPaste_Click();
    } catch (const std::exception&) {
    }
}

void WindowShell::mnuFileNew_Click()
{
    if (m_newCommand)
        m_newCommand();
}

void WindowShell::mnuFileExit_Click()
{
    m_window.close();
}

void WindowShell::mnuEditCut_Click()
{
    const auto selection = TextSelection::of(m_selectionKeeper->activeControl());
    if (!selection)
        return;
    // A clipboard that fails stops the command before the selection is
    // deleted, so nothing is lost. A read-only field gets the copy, and
    // keeps its text.
    if (copyToClipboard(*selection) && !selection->isReadOnly())
        selection->replace(QString());
}

void WindowShell::mnuEditCopy_Click()
{
    if (const auto selection = TextSelection::of(m_selectionKeeper->activeControl()))
        copyToClipboard(*selection);
}

// Puts a non-empty selection on the clipboard; false when there was none or
// the clipboard failed.
bool WindowShell::copyToClipboard(const TextSelection& selection)
{
    if (selection.length() <= 0)
        return false;
    try {
        const QString text = selection.text();
        m_context.clipboard.clear();
        m_context.clipboard.setText(text);
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

void WindowShell::mnuEditPaste_Click()
{
    const auto selection = TextSelection::of(m_selectionKeeper->activeControl());
    if (!selection)
        return;
    try {
        // No text on the clipboard pastes the empty text: the selection goes.
        selection->replace(m_context.clipboard.text());
    } catch (const std::exception&) {
    }
}

void WindowShell::mnuViewToolbar_Click()
{
    toggleBar(*m_viewToolbar, *m_toolBar);
}

void WindowShell::mnuViewStatusBar_Click()
{
    toggleBar(*m_viewStatusBar, *m_statusBar);
}

void WindowShell::toggleBar(QAction& mark, QWidget& bar)
{
    mark.setChecked(!mark.isChecked());
    bar.setVisible(mark.isChecked());
}

void WindowShell::mnuHelpContents_Click()
{
    showNoHelp();
}

void WindowShell::mnuHelpSearchForHelpOn_Click()
{
    showNoHelp();
}

void WindowShell::showNoHelp()
{
    m_context.dialogs.message(&m_window, m_window.windowTitle(),
                              QStringLiteral("Keine Hilfe verfügbar."), QMessageBox::Information,
                              QMessageBox::Ok);
}

void WindowShell::mnuHelpAbout_Click()
{
    frmAbout about(m_context, &m_window);
    m_context.dialogs.runModal(about);
}
