// console_child [--stdin-nul] COMMAND LINE
// Runs the command line with this process's console as its standard handles
// (or the NUL device as standard input), waits for it and ends with its exit
// status. Wine gives a program started in a pseudo console no standard
// handles of its own, so the program tests start kelvane-cli through this.
#include <string>
#include <windows.h>

namespace {

// The command line after this program's own name.
std::wstring restOfCommandLine()
{
    std::wstring line = GetCommandLineW();
    std::size_t at = line[0] == L'"' ? line.find(L'"', 1) + 1 : line.find(L' ');
    at = line.find_first_not_of(L' ', at);
    return at == std::wstring::npos ? std::wstring() : line.substr(at);
}

HANDLE openInherited(const wchar_t* name)
{
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    return CreateFileW(name, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                       &inherit, OPEN_EXISTING, 0, nullptr);
}

} // namespace

int main()
{
    std::wstring command = restOfCommandLine();
    const std::wstring nulOption = L"--stdin-nul ";
    const bool nulInput = command.rfind(nulOption, 0) == 0;
    if (nulInput)
        command.erase(0, nulOption.size());

    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = openInherited(nulInput ? L"NUL" : L"CONIN$");
    startup.hStdOutput = startup.hStdError = openInherited(L"CONOUT$");
    PROCESS_INFORMATION process{};
    if (command.empty() || !CreateProcessW(nullptr, command.data(), nullptr, nullptr, TRUE, 0,
                                           nullptr, nullptr, &startup, &process))
        return 125;
    WaitForSingleObject(process.hProcess, INFINITE);
    DWORD status = 126;
    GetExitCodeProcess(process.hProcess, &status);
    return static_cast<int>(status);
}
