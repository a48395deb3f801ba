#pragma once

#ifdef _WIN32

#include <streambuf>
#include <string>

// A stream buffer that shows UTF-8 text on a Windows console. The text goes
// to the console as UTF-16, so it reads right whatever the console's code
// page; a character cut at the end of a write waits for its remaining bytes.
class ConsoleOutput : public std::streambuf
{
public:
    explicit ConsoleOutput(void* consoleHandle);
    ~ConsoleOutput() override;

protected:
    int_type overflow(int_type c) override;
    std::streamsize xsputn(const char* text, std::streamsize count) override;
    int sync() override;

private:
    void writeComplete();
    // Writes the first length bytes and drops them.
    void write(std::size_t length);

    void* m_console;
    std::string m_pending;
};

#endif
