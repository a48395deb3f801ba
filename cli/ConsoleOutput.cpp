#ifdef _WIN32

#include "ConsoleOutput.h"

#include <windows.h>

namespace {

constexpr std::size_t FlushSize = 4096;

bool isContinuation(char c)
{
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

// The length of text without a UTF-8 sequence that is cut off at its end.
std::size_t completeLength(const std::string& text)
{
    std::size_t start = text.size();
    while (start > 0 && text.size() - start < 3 && isContinuation(text[start - 1]))
        --start;
    if (start == 0)
        return text.size();
    const auto lead = static_cast<unsigned char>(text[start - 1]);
    const std::size_t needed = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
    return text.size() - (start - 1) < needed ? start - 1 : text.size();
}

} // namespace

ConsoleOutput::ConsoleOutput(void* consoleHandle) : m_console(consoleHandle) {}

ConsoleOutput::~ConsoleOutput()
{
    write(m_pending.size());
}

ConsoleOutput::int_type ConsoleOutput::overflow(int_type c)
{
    if (!traits_type::eq_int_type(c, traits_type::eof())) {
        m_pending += traits_type::to_char_type(c);
        if (m_pending.size() >= FlushSize)
            writeComplete();
    }
    return traits_type::not_eof(c);
}

std::streamsize ConsoleOutput::xsputn(const char* text, std::streamsize count)
{
    m_pending.append(text, static_cast<std::size_t>(count));
    if (m_pending.size() >= FlushSize)
        writeComplete();
    return count;
}

int ConsoleOutput::sync()
{
    writeComplete();
    return 0;
}

void ConsoleOutput::writeComplete()
{
    write(completeLength(m_pending));
}

void ConsoleOutput::write(std::size_t length)
{
    if (length == 0)
        return;
    // Bytes that are not UTF-8 show as U+FFFD rather than stopping the output.
    const int wideLength =
        MultiByteToWideChar(CP_UTF8, 0, m_pending.data(), static_cast<int>(length), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(wideLength), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, m_pending.data(), static_cast<int>(length), wide.data(),
                        wideLength);
    DWORD written = 0;
    WriteConsoleW(static_cast<HANDLE>(m_console), wide.data(), static_cast<DWORD>(wide.size()),
                  &written, nullptr);
    m_pending.erase(0, length);
}

#endif
