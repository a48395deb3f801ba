#include "TerminalWindow.h"

#include <istream>
#include <ostream>

namespace {

// Message texts break lines with "\r\n"; a terminal wants "\n".
std::string withTerminalLineBreaks(const std::string& text)
{
    std::string result;
    result.reserve(text.size());
    for (const char c : text) {
        if (c != '\r')
            result += c;
    }
    return result;
}

bool isYes(std::string answer)
{
    while (!answer.empty() && (answer.back() == ' ' || answer.back() == '\r'))
        answer.pop_back();
    for (char& c : answer)
        c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    return answer == "j" || answer == "ja" || answer == "y" || answer == "yes";
}

} // namespace

TerminalWindow::TerminalWindow(const CommandLine& options, Streams streams,
                               EventThrottle::Clock clock)
    : m_options(options), m_streams(streams),
      m_progress([this] { showProgress(); }, std::chrono::milliseconds(250), std::move(clock))
{}

void TerminalWindow::showMessage(const std::string& text, Icon)
{
    m_streams.err << withTerminalLineBreaks(text) << '\n';
}

bool TerminalWindow::askYesNo(const std::string& text)
{
    if (m_options.AssumeYes)
        return true;
    if (!m_streams.inputIsTerminal) {
        m_streams.err << text << " Nein (ohne Terminal; --yes beantwortet mit Ja)\n";
        return false;
    }
    m_streams.err << text << " [j/n] " << std::flush;
    std::string answer;
    std::getline(m_streams.in, answer);
    return isYes(answer);
}

// Progress is for a person watching: shown only on a terminal, and at most a
// few times a second, so that it never slows the run down.
void TerminalWindow::showProgress()
{
    if (!m_streams.errorIsTerminal || m_status.empty() || m_status == m_lastShown)
        return;
    m_streams.err << m_status << '\n';
    m_lastShown = m_status;
}
