#include "CliApplication.h"
#include "NativeFileSystem.h"
#include "SharedState.h"

#include <cstdlib>
#include <filesystem>
#include <iostream>

#ifdef _WIN32
#include <io.h>
#include <windows.h>
#define isatty _isatty
#define fileno _fileno
#else
#include <unistd.h>
#endif

namespace {

// The folder that holds this executable, where the templates lie.
std::string programFolder(const char* argv0)
{
    std::error_code error;
#ifdef _WIN32
    wchar_t buffer[MAX_PATH * 4];
    const DWORD length = GetModuleFileNameW(nullptr, buffer, static_cast<DWORD>(std::size(buffer)));
    std::filesystem::path executable(std::wstring(buffer, length));
    const std::u8string folder = executable.parent_path().u8string();
    return std::string(folder.begin(), folder.end());
#else
    std::filesystem::path executable = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error)
        executable = std::filesystem::absolute(argv0, error);
    return executable.parent_path().string();
#endif
}

// Where the window keeps the user template of an installed copy (Qt's
// application data location), so both front ends use the same one.
std::string userDataFolder()
{
#ifdef _WIN32
    const char* appData = std::getenv("APPDATA");
    return std::string(appData ? appData : "") + "\\Kelvane";
#else
    const char* dataHome = std::getenv("XDG_DATA_HOME");
    if (dataHome && *dataHome == '/')
        return std::string(dataHome) + "/Kelvane";
    const char* home = std::getenv("HOME");
    return std::string(home ? home : "") + "/.local/share/Kelvane";
#endif
}

} // namespace

int main(int argc, char* argv[])
{
    std::ios::sync_with_stdio(false);
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    NativeFileSystem fileSystem;
    CliApplication application(
        fileSystem,
        SharedState::forInstallation(programFolder(argv[0]), userDataFolder(), fileSystem),
        {std::cin, std::cout, std::cerr, isatty(fileno(stdin)) != 0, isatty(fileno(stderr)) != 0});
    return application.run(arguments);
}
