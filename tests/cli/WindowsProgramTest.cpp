#ifdef _WIN32

#include "NativePath.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <thread>
#include <windows.h>

// The pseudo console functions, which mingw-w64's headers do not declare yet.
typedef void* HPCON;
extern "C" HRESULT WINAPI CreatePseudoConsole(COORD, HANDLE, HANDLE, DWORD, HPCON*);
extern "C" void WINAPI ClosePseudoConsole(HPCON);
#ifndef PROC_THREAD_ATTRIBUTE_PSEUDOCONSOLE
#define PROC_THREAD_ATTRIBUTE_PSEUDOCONSOLE 0x00020016
#endif

namespace fs = std::filesystem;

namespace {

std::wstring wide(const std::string& utf8)
{
    return toNativePath(utf8).wstring();
}

// One argument as the C runtime splits the command line again.
std::wstring quoted(const std::wstring& argument)
{
    std::wstring text = L"\"";
    std::size_t backslashes = 0;
    for (const wchar_t c : argument) {
        backslashes = c == L'\\' ? backslashes + 1 : 0;
        text.append(c == L'"' ? backslashes + 1 : 0, L'\\');
        text += c;
    }
    return text.append(backslashes, L'\\') + L"\"";
}

fs::path besideThisProgram(const wchar_t* name)
{
    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    return fs::path(self).parent_path() / name;
}

struct ProgramRun
{
    DWORD status = 0;
    std::string screen; // what the console showed, lines ending in "\n"
};

// The pseudo console's output without its control sequences and carriage
// returns: the text as it stands on the screen.
std::string screenText(const std::string& output)
{
    std::string text;
    for (std::size_t i = 0; i < output.size(); ++i) {
        if (output[i] == '\x1b' && i + 1 < output.size() && output[i + 1] == '[') {
            i += 2;
            while (i < output.size() && (output[i] < 0x40 || output[i] > 0x7E))
                ++i;
        } else if (output[i] != '\r') {
            text += output[i];
        }
    }
    return text;
}

// Starts kelvane-cli in a console of its own, typing input there, and returns
// what the console showed. Bounded: a program that hangs is ended and fails.
ProgramRun runInConsole(const std::vector<std::string>& arguments, const fs::path& folder,
                        bool nulInput, const std::string& input)
{
    std::wstring command = quoted(besideThisProgram(L"console_child.exe").wstring()) +
                           (nulInput ? L" --stdin-nul " : L" ") +
                           quoted(besideThisProgram(L"kelvane-cli.exe").wstring());
    for (const std::string& argument : arguments)
        command += L" " + quoted(wide(argument));

    HANDLE inputRead, inputWrite, outputRead, outputWrite;
    CreatePipe(&inputRead, &inputWrite, nullptr, 0);
    CreatePipe(&outputRead, &outputWrite, nullptr, 0);
    HPCON console = nullptr;
    EXPECT_EQ(CreatePseudoConsole({120, 50}, inputRead, outputWrite, 0, &console), S_OK);
    CloseHandle(inputRead);
    CloseHandle(outputWrite);
    ProgramRun run;
    std::thread reader([&] {
        char buffer[4096];
        DWORD got = 0;
        while (ReadFile(outputRead, buffer, sizeof buffer, &got, nullptr) && got > 0)
            run.screen.append(buffer, got);
    });

    STARTUPINFOEXW startup{};
    startup.StartupInfo.cb = sizeof startup;
    SIZE_T size = 0;
    InitializeProcThreadAttributeList(nullptr, 1, 0, &size);
    std::vector<char> attributes(size);
    startup.lpAttributeList = reinterpret_cast<LPPROC_THREAD_ATTRIBUTE_LIST>(attributes.data());
    InitializeProcThreadAttributeList(startup.lpAttributeList, 1, 0, &size);
    UpdateProcThreadAttribute(startup.lpAttributeList, 0, PROC_THREAD_ATTRIBUTE_PSEUDOCONSOLE,
                              console, sizeof console, nullptr, nullptr);
    PROCESS_INFORMATION process{};
    if (CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE,
                       EXTENDED_STARTUPINFO_PRESENT, nullptr, folder.c_str(), &startup.StartupInfo,
                       &process)) {
        DWORD written = 0;
        WriteFile(inputWrite, input.data(), static_cast<DWORD>(input.size()), &written, nullptr);
        if (WaitForSingleObject(process.hProcess, 30'000) != WAIT_OBJECT_0) {
            ADD_FAILURE() << "kelvane-cli did not end";
            TerminateProcess(process.hProcess, 124);
            WaitForSingleObject(process.hProcess, 5'000);
        }
        GetExitCodeProcess(process.hProcess, &run.status);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    } else {
        ADD_FAILURE() << "console_child.exe could not be started: " << GetLastError();
    }
    DeleteProcThreadAttributeList(startup.lpAttributeList);
    ClosePseudoConsole(console);
    reader.join();
    CloseHandle(outputRead);
    CloseHandle(inputWrite);
    run.screen = screenText(run.screen);
    return run;
}

// A drive letter that names no drive on this machine.
std::string missingDrive()
{
    const DWORD drives = GetLogicalDrives();
    char letter = 'Z';
    while (letter > 'D' && (drives & (1u << (letter - 'A'))))
        --letter;
    return std::string(1, letter) + ":";
}

// kelvane-cli.exe as the user starts it, on Windows paths of the real drive.
class WindowsProgram : public testing::Test
{
protected:
    WindowsProgram()
    {
        const std::string id = std::to_string(GetCurrentProcessId());
        drive = fromNativePath(fs::temp_directory_path().root_name());
        site = drive + "\\kelvane-" + id;
        temp = fromNativePath(fs::temp_directory_path() / ("kelvane-program-" + id));
        for (char letter = 'a'; letter <= 'z' && shortSite.empty(); ++letter) {
            if (!fs::exists(toNativePath(drive + "\\" + letter)))
                shortSite = drive + "\\" + letter;
        }
    }
    ~WindowsProgram() override { clear(); }

    void clear()
    {
        std::error_code ignored;
        for (const std::string& folder :
             {site, site + "_Moved", shortSite, shortSite + "_Moved", temp})
            fs::remove_all(toNativePath(folder), ignored);
    }

    void makeSite(const std::string& folder)
    {
        fs::create_directories(toNativePath(folder + "\\x"));
        std::ofstream(toNativePath(folder + "\\a.htm")) << "old";
        std::ofstream(toNativePath(folder + "\\x\\b.htm")) << "old";
    }

    std::string drive, site, shortSite, temp;
};

TEST_F(WindowsProgram, TakesWindowsPathsAsTypedAndShowsUtf8InTheConsole)
{
    struct Case
    {
        std::vector<std::string> arguments;
        DWORD status;
        std::string shown;   // on the console
        std::string written; // "" for none
        bool nulInput = false;
        std::string typed = {};
        std::string folder = {}; // current folder, "" for the site's root
    };
    ASSERT_FALSE(shortSite.empty());
    const std::string euro = temp + "\\web\\€uro", omega = temp + "\\Ωmega";
    std::string report = temp + "/Bericht-ä.csv";
    std::replace(report.begin(), report.end(), '\\', '/');
    const Case cases[] = {
        {{"--help"}, 0, "Schreibt für jede Datei", ""},
        {{"--url", "U", drive + "\\"}, 1, "Bitte Unterverzeichnis auswählen", ""},
        {{"--url", "U", drive}, 1, "Bitte Unterverzeichnis auswählen", "", false, {}, "\\x"},
        {{"--url", "U", missingDrive()},
         1,
         "Verzeichnis nicht gefunden\n" + missingDrive() + "\n",
         ""},
        {{"--url", "U", "\\\\kein-server\\share\\site"},
         1,
         "gefunden\n\\\\kein-server\\share\\site\n",
         ""},
        {{"--url", "U", site}, 0, "Fertig, 2 Dateien", site + "_Moved\\x\\b.htm"},
        {{"--url", "U", site + "\\"}, 0, "Fertig, 2 Dateien", site + "_Moved\\x\\b.htm"},
        {{"--url", "U", shortSite}, 0, "Fertig, 2 Dateien", shortSite + "_Moved\\a.htm"},
        {{"--url", "U", "\\\\?\\" + site}, 0, "Fertig, 2 Dateien", site + "_Moved\\a.htm"},
        {{"--url", "U", euro}, 0, "Fertig, 2 Dateien", euro + "_Moved\\a.htm"},
        {{"--url", "U", omega}, 0, "Fertig, 2 Dateien", omega + "_Moved\\x\\b.htm"},
        {{"--url", "U", "--report", report, site},
         0,
         "Fertig, 2 Dateien",
         temp + "\\Bericht-ä.csv"},
        {{"--url", "U", site + "\\x"}, 1, "Nein (ohne Terminal", "", true},
        {{"--url", "U", site + "\\x"}, 0, "[j/n]", site + "\\x_Moved\\b.htm", false, "j\r"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.arguments.back());
        clear();
        for (const std::string& folder : {site, shortSite, euro, omega})
            makeSite(folder);
        fs::create_directories(toNativePath(site + "\\x_Moved"));
        const ProgramRun run =
            runInConsole(c.arguments, toNativePath(site + c.folder), c.nulInput, c.typed);
        EXPECT_EQ(run.status, c.status);
        EXPECT_NE(run.screen.find(c.shown), std::string::npos) << run.screen;
        if (!c.written.empty()) {
            EXPECT_TRUE(fs::exists(toNativePath(c.written))) << c.written;
        }
    }
}

} // namespace

#endif
