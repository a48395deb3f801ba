#pragma once

#include "CommandLine.h"
#include "EventThrottle.h"
#include "RelocationWindow.h"

#include <functional>
#include <iosfwd>

// The relocation run's window on a terminal: messages and progress go to
// standard error, the question is asked on the terminal.
class TerminalWindow : public RelocationWindow
{
public:
    struct Streams
    {
        std::istream& in;
        std::ostream& out;
        std::ostream& err;
        bool inputIsTerminal = false;
        bool errorIsTerminal = false;
    };

    TerminalWindow(const CommandLine& options, Streams streams,
                   EventThrottle::Clock clock = &std::chrono::steady_clock::now);

    void SetStatus(const std::string& text) override { m_status = text; }
    void EnableInputs(bool) override {}
    void showMessage(const std::string& text, Icon icon) override;
    bool askYesNo(const std::string& text) override;
    void focusVerzeichnis() override {}
    void processEvents() override { m_progress(); }
    void pageDone(const Page& page) override
    {
        if (m_pageListener)
            m_pageListener(page);
    }

    void setPageListener(std::function<void(const Page&)> listener)
    {
        m_pageListener = std::move(listener);
    }

    const std::string& status() const { return m_status; }

private:
    void showProgress();

    const CommandLine& m_options;
    Streams m_streams;
    std::string m_status;
    std::string m_lastShown;
    EventThrottle m_progress;
    std::function<void(const Page&)> m_pageListener;
};
