#include "Console.h"

#ifdef _WIN32

#include "ConsoleOutput.h"
#include "NativePath.h"

#include <cstdlib>
#include <io.h>
#include <iostream>
#include <windows.h>

Console::Console()
{
    const std::pair<std::FILE*, std::ostream*> streams[] = {{stdout, &std::cout},
                                                            {stderr, &std::cerr}};
    for (const auto& [file, stream] : streams) {
        if (!isTerminal(file))
            continue;
        auto console = std::make_unique<ConsoleOutput>(
            reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(file))));
        std::streambuf* previous = stream->rdbuf(console.get());
        m_shown.push_back({stream, previous, std::move(console)});
    }
}

Console::~Console()
{
    for (Shown& shown : m_shown) {
        shown.stream->flush();
        shown.stream->rdbuf(shown.previous);
    }
}

bool Console::isTerminal(std::FILE* stream)
{
    const auto handle = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(stream)));
    DWORD mode = 0;
    return handle != INVALID_HANDLE_VALUE && GetFileType(handle) == FILE_TYPE_CHAR &&
           GetConsoleMode(handle, &mode) != 0;
}

bool Console::arguments(int argc, wchar_t* argv[], std::vector<std::string>& utf8)
{
    utf8.assign(static_cast<std::size_t>(argc > 1 ? argc - 1 : 0), std::string());
    for (int i = 1; i < argc; ++i) {
        if (!toUtf8Text(argv[i], utf8[static_cast<std::size_t>(i - 1)]))
            return false;
    }
    return true;
}

std::string Console::environment(const wchar_t* name)
{
    const wchar_t* value = _wgetenv(name);
    std::string utf8;
    if (!value || !toUtf8Text(value, utf8))
        return {};
    return utf8;
}

#else

#include <unistd.h>

Console::Console() = default;
Console::~Console() = default;

bool Console::isTerminal(std::FILE* stream)
{
    return isatty(fileno(stream)) != 0;
}

#endif
