#pragma once

#include <iosfwd>
#include <string>

// Asks for a password on the terminal without showing what is typed.
class PasswordPrompt
{
public:
    // The line typed after prompt; echo is off while stdin is a terminal.
    static std::string ask(std::istream& in, std::ostream& err, const std::string& prompt,
                           bool inputIsTerminal);
};
