#pragma once

#include "EventThrottle.h"
#include "RelocationWindow.h"

#include <optional>

class frmMain;

// Lends the main window to the relocation run: the run reports its progress
// and asks its questions through the window's status bar, progress bar and
// the program's dialogs.
class MainWindowRelocation final : public RelocationWindow
{
public:
    explicit MainWindowRelocation(frmMain& window);
    ~MainWindowRelocation() override;
    // The event throttle calls back into this object.
    MainWindowRelocation(const MainWindowRelocation&) = delete;
    MainWindowRelocation& operator=(const MainWindowRelocation&) = delete;

    void SetStatus(const std::string& text) override;
    void EnableInputs(bool enabled) override;
    void showMessage(const std::string& text, Icon icon) override;
    bool askYesNo(const std::string& text) override;
    void focusVerzeichnis() override;
    void processEvents() override;

    void pageDone(const Page& page) override;
    bool stopRequested() const override;

private:
    void showPendingStatus();

    frmMain& m_window;
    // The newest status text not yet on the panel. A run sets one for every
    // page; the panel takes the newest whenever the window gets to paint,
    // and before anything else the user would see.
    std::optional<std::string> m_pendingStatus;
    std::size_t m_pagesShown = 0;
    EventThrottle m_throttle;
};
