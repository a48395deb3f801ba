#include "PasswordPrompt.h"

#include <istream>
#include <ostream>

#ifdef _WIN32
#include <windows.h>
#else
#include <termios.h>
#include <unistd.h>
#endif

namespace {

// Turns the terminal's echo off while it lives.
class HiddenInput
{
public:
    explicit HiddenInput(bool active)
    {
#ifdef _WIN32
        m_input = GetStdHandle(STD_INPUT_HANDLE);
        m_active = active && GetConsoleMode(m_input, &m_mode);
        if (m_active)
            SetConsoleMode(m_input, m_mode & ~static_cast<DWORD>(ENABLE_ECHO_INPUT));
#else
        m_active = active && tcgetattr(STDIN_FILENO, &m_mode) == 0;
        if (m_active) {
            termios hidden = m_mode;
            hidden.c_lflag &= ~static_cast<tcflag_t>(ECHO);
            tcsetattr(STDIN_FILENO, TCSAFLUSH, &hidden);
        }
#endif
    }

    ~HiddenInput()
    {
#ifdef _WIN32
        if (m_active)
            SetConsoleMode(m_input, m_mode);
#else
        if (m_active)
            tcsetattr(STDIN_FILENO, TCSAFLUSH, &m_mode);
#endif
    }

    HiddenInput(const HiddenInput&) = delete;
    HiddenInput& operator=(const HiddenInput&) = delete;

private:
    bool m_active = false;
#ifdef _WIN32
    HANDLE m_input = nullptr;
    DWORD m_mode = 0;
#else
    termios m_mode{};
#endif
};

} // namespace

std::string PasswordPrompt::ask(std::istream& in, std::ostream& err, const std::string& prompt,
                                bool inputIsTerminal)
{
    err << prompt << std::flush;
    std::string password;
    {
        const HiddenInput hidden(inputIsTerminal);
        std::getline(in, password);
    }
    err << '\n';
    if (!password.empty() && password.back() == '\r')
        password.pop_back();
    return password;
}
