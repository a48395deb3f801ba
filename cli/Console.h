#pragma once

#include <cstdio>
#include <iosfwd>
#include <memory>
#include <streambuf>
#include <string>
#include <vector>

// The terminal kelvane-cli runs in. Every text the program writes is UTF-8;
// on Windows, while the object lives, standard output and standard error
// show it on a console through ConsoleOutput, whatever the console's code
// page. Output to a file or pipe stays UTF-8 bytes.
class Console
{
public:
    Console();
    ~Console();
    Console(const Console&) = delete;
    Console& operator=(const Console&) = delete;

    // Whether a person types into or reads from the stream. On Windows only a
    // console counts: the NUL device is a character device too.
    static bool isTerminal(std::FILE* stream);

#ifdef _WIN32
    // The arguments as UTF-8, or false for one that is not valid UTF-16.
    static bool arguments(int argc, wchar_t* argv[], std::vector<std::string>& utf8);
    // An environment variable as UTF-8; empty when unset.
    static std::string environment(const wchar_t* name);

private:
    struct Shown
    {
        std::ostream* stream;
        std::streambuf* previous;
        std::unique_ptr<std::streambuf> console;
    };
    std::vector<Shown> m_shown;
#endif
};
