#include "MainWindowRelocation.h"

#include "Dialogs.h"
#include "frmMain.h"

#include <QCoreApplication>
#include <algorithm>
#include <limits>
#include <utility>

namespace {

const QString ApplicationTitle = QStringLiteral("Kelvane");

// The run writes its line breaks the way its messages always looked; the
// message box wants plain line feeds.
QString forDisplay(const std::string& text)
{
    return QString::fromStdString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

QMessageBox::Icon messageIcon(RelocationWindow::Icon icon)
{
    switch (icon) {
    case RelocationWindow::Icon::Critical:
        return QMessageBox::Critical;
    case RelocationWindow::Icon::Question:
        return QMessageBox::Question;
    case RelocationWindow::Icon::Information:
        return QMessageBox::Information;
    case RelocationWindow::Icon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

int clampedToInt(std::size_t value)
{
    return static_cast<int>(std::min<std::size_t>(value, std::numeric_limits<int>::max()));
}

} // namespace

MainWindowRelocation::MainWindowRelocation(frmMain& window)
    : m_window(window), m_throttle([this] {
          showPendingStatus();
          QCoreApplication::processEvents();
      })
{}

MainWindowRelocation::~MainWindowRelocation()
{
    showPendingStatus();
}

void MainWindowRelocation::showPendingStatus()
{
    if (m_pendingStatus)
        m_window.SetStatus(QString::fromStdString(*std::exchange(m_pendingStatus, std::nullopt)));
}

void MainWindowRelocation::SetStatus(const std::string& text)
{
    m_pendingStatus = text;
}

void MainWindowRelocation::EnableInputs(bool enabled)
{
    showPendingStatus();
    m_window.EnableInputs(enabled);
}

void MainWindowRelocation::showMessage(const std::string& text, Icon icon)
{
    showPendingStatus();
    m_window.m_context.dialogs.message(&m_window, ApplicationTitle, forDisplay(text),
                                       messageIcon(icon), QMessageBox::Ok);
}

bool MainWindowRelocation::askYesNo(const std::string& text)
{
    showPendingStatus();
    return m_window.m_context.dialogs.message(
               &m_window, ApplicationTitle, forDisplay(text), QMessageBox::Question,
               QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

void MainWindowRelocation::focusVerzeichnis()
{
    m_window.focusVerzeichnis();
}

void MainWindowRelocation::processEvents()
{
    m_throttle();
}

void MainWindowRelocation::pageDone(const Page& page)
{
    // Every change of the bar's text repaints it at once; a thousand steps
    // are smooth enough and cost nothing beside the pages.
    const std::size_t step = std::max<std::size_t>(1, page.Total / 1000);
    if (page.Number != page.Total && page.Number - m_pagesShown < step)
        return;
    m_pagesShown = page.Number;
    m_window.showProgress(clampedToInt(page.Number), clampedToInt(page.Total));
}

bool MainWindowRelocation::stopRequested() const
{
    return m_window.m_closeRequested;
}
