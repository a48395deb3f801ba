#include "CliApplication.h"
#include "Console.h"
#include "NativeFileSystem.h"
#include "NativePath.h"
#include "SharedState.h"
#include "ShownText.h"

#include <cstdlib>
#include <exception>
#include <filesystem>
#include <iostream>

#ifdef _WIN32
#include <windows.h>
#endif

namespace {

#ifdef _WIN32

// The folder that holds this executable, where the templates lie.
std::string programFolder()
{
    std::wstring buffer(MAX_PATH, L'\0');
    DWORD length = 0;
    while ((length = GetModuleFileNameW(nullptr, buffer.data(),
                                        static_cast<DWORD>(buffer.size()))) == buffer.size())
        buffer.resize(buffer.size() * 2);
    buffer.resize(length);
    return fromNativePath(std::filesystem::path(buffer).parent_path());
}

// Where the window keeps the user template of an installed copy (Qt's
// application data location), so both front ends use the same one.
std::string userDataFolder()
{
    return Console::environment(L"APPDATA") + "\\Kelvane";
}

#else

std::string programFolder(const char* argv0)
{
    std::error_code error;
    std::filesystem::path executable = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error)
        executable = std::filesystem::absolute(argv0, error);
    return executable.parent_path().string();
}

std::string userDataFolder()
{
    const char* dataHome = std::getenv("XDG_DATA_HOME");
    if (dataHome && *dataHome == '/')
        return std::string(dataHome) + "/Kelvane";
    const char* home = std::getenv("HOME");
    return std::string(home ? home : "") + "/.local/share/Kelvane";
}

#endif

int run(const std::string& folder, const std::vector<std::string>& arguments)
{
    NativeFileSystem fileSystem;
    CliApplication application(
        fileSystem, SharedState::forInstallation(folder, userDataFolder(), fileSystem),
        {std::cin, std::cout, std::cerr, Console::isTerminal(stdin), Console::isTerminal(stderr)});
    return application.run(arguments);
}

// The last guard where the program meets the system: whatever the run did not
// turn into a message of its own ends the program with one, not with abort.
template <typename Run>
int guarded(Run run)
{
    try {
        return run();
    } catch (const std::exception& error) {
        std::cerr << "kelvane-cli: " << ShownText::visible(error.what()) << '\n';
    }
    return CliApplication::RunFailed;
}

} // namespace

#ifdef _WIN32

// wmain: the arguments in full Unicode, not in the ANSI code page.
int wmain(int argc, wchar_t* argv[])
{
    std::ios::sync_with_stdio(false);
    const Console console;
    return guarded([&] {
        std::vector<std::string> arguments;
        if (!Console::arguments(argc, argv, arguments)) {
            std::cerr << "kelvane-cli: Ein Argument ist kein gültiger Unicode-Text.\n";
            return static_cast<int>(CliApplication::WrongUsage);
        }
        return run(programFolder(), arguments);
    });
}

#else

int main(int argc, char* argv[])
{
    std::ios::sync_with_stdio(false);
    return guarded([&] {
        return run(programFolder(argv[0]), std::vector<std::string>(argv + 1, argv + argc));
    });
}

#endif
