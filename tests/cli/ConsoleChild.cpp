// console_child [--stdin-nul] COMMAND LINE
// Runs the command line with this console as its standard handles (the NUL
// device as input with --stdin-nul) and ends with its exit status: Wine gives
// a program started in a pseudo console no standard handles of its own.
#include <string>
#include <windows.h>

namespace {

HANDLE openInherited(const wchar_t* name)
{
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    return CreateFileW(name, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                       &inherit, OPEN_EXISTING, 0, nullptr);
}

} // namespace

int main()
{
    // The command line after this program's own, quoted, name.
    std::wstring command = GetCommandLineW();
    command.erase(0, command.find(L'"', 1) + 2);
    const bool nulInput = command.rfind(L"--stdin-nul ", 0) == 0;
    if (nulInput)
        command.erase(0, 12);

    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = openInherited(nulInput ? L"NUL" : L"CONIN$");
    startup.hStdOutput = startup.hStdError = openInherited(L"CONOUT$");
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                        &startup, &process)) {
        const std::string reason = "console_child: " + std::to_string(GetLastError()) + "\r\n";
        DWORD written = 0;
        WriteFile(startup.hStdOutput, reason.data(), static_cast<DWORD>(reason.size()), &written,
                  nullptr);
        return 125;
    }
    WaitForSingleObject(process.hProcess, INFINITE);
    DWORD status = 126;
    GetExitCodeProcess(process.hProcess, &status);
    return static_cast<int>(status);
}
