#ifdef _WIN32

#include "NativePath.h"
#include "UnixCommand.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
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

// One argument as the C runtime splits the command line again.
std::wstring quoted(const std::string& argument)
{
    std::wstring text = L"\"";
    std::size_t backslashes = 0;
    for (const wchar_t c : toNativePath(argument).wstring()) {
        backslashes = c == L'\\' ? backslashes + 1 : 0;
        text.append(c == L'"' ? backslashes + 1 : 0, L'\\') += c;
    }
    return text.append(backslashes, L'\\') + L"\"";
}

std::string besideThisProgram(const char* name)
{
    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    return fromNativePath(fs::path(self).parent_path() / name);
}

// What the console showed, without control sequences and carriage returns.
std::string screenText(const std::string& output)
{
    std::string text;
    for (std::size_t i = 0; i < output.size(); ++i) {
        if (output[i] == '\x1b') { // ESC [ parameters, up to the final byte
            for (i += 2; i < output.size() && (output[i] < 0x40 || output[i] > 0x7E);)
                ++i;
        } else if (output[i] != '\r') {
            text += output[i];
        }
    }
    return text;
}

// Everything the pseudo console sends until it closes its end of the pipe.
// Wine's console host does not always close that end when the console is
// closed (seen in every run after typed input), so once the console is
// closed, two quiet seconds count as its end too.
std::string drainConsole(HANDLE pipe, const std::atomic<bool>& consoleClosed)
{
    std::string output;
    char buffer[4096];
    auto lastSign = std::chrono::steady_clock::now();
    bool closedSeen = false;
    for (;;) {
        DWORD available = 0, got = 0;
        if (!PeekNamedPipe(pipe, nullptr, 0, nullptr, &available, nullptr))
            return output; // the console has gone: all is read
        if (available > 0 &&
            ReadFile(pipe, buffer, std::min<DWORD>(available, sizeof buffer), &got, nullptr)) {
            output.append(buffer, got);
            lastSign = std::chrono::steady_clock::now();
            continue;
        }
        if (consoleClosed && !closedSeen) {
            closedSeen = true;
            lastSign = std::chrono::steady_clock::now();
        }
        if (closedSeen && std::chrono::steady_clock::now() - lastSign > std::chrono::seconds(2))
            return output;
        Sleep(10);
    }
}

// Runs kelvane-cli in a pseudo console, types the input there, and gives its
// exit status and the screen. A program that does not end is ended.
std::pair<DWORD, std::string> runInConsole(const std::vector<std::string>& arguments,
                                           const std::string& folder, bool nulInput,
                                           const std::string& input)
{
    std::wstring command = quoted(besideThisProgram("console_child.exe")) +
                           (nulInput ? L" --stdin-nul " : L" ") +
                           quoted(besideThisProgram("kelvane-cli.exe"));
    for (const std::string& argument : arguments)
        command += L" " + quoted(argument);

    HANDLE inputRead, inputWrite, outputRead, outputWrite;
    CreatePipe(&inputRead, &inputWrite, nullptr, 0);
    CreatePipe(&outputRead, &outputWrite, nullptr, 0);
    HPCON console = nullptr;
    EXPECT_EQ(CreatePseudoConsole({120, 50}, inputRead, outputWrite, 0, &console), S_OK);
    CloseHandle(inputRead);
    CloseHandle(outputWrite);
    std::string output;
    std::atomic<bool> consoleClosed = false;
    std::thread reader([&] { output = drainConsole(outputRead, consoleClosed); });

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
    DWORD status = 0, written = 0;
    EXPECT_TRUE(CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE,
                               EXTENDED_STARTUPINFO_PRESENT, nullptr, toNativePath(folder).c_str(),
                               &startup.StartupInfo, &process));
    WriteFile(inputWrite, input.data(), static_cast<DWORD>(input.size()), &written, nullptr);
    EXPECT_EQ(WaitForSingleObject(process.hProcess, 30'000), WAIT_OBJECT_0) << "did not end";
    TerminateProcess(process.hProcess, 124);
    WaitForSingleObject(process.hProcess, 5'000);
    GetExitCodeProcess(process.hProcess, &status);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    DeleteProcThreadAttributeList(startup.lpAttributeList);
    ClosePseudoConsole(console);
    consoleClosed = true;
    reader.join();
    CloseHandle(outputRead);
    CloseHandle(inputWrite);
    return {status, screenText(output)};
}

// A drive letter that names no drive on this machine.
std::string missingDrive()
{
    char letter = 'Z';
    while (letter > 'D' && (GetLogicalDrives() & (1u << (letter - 'A'))))
        --letter;
    return std::string(1, letter) + ":";
}

void makeSite(const std::string& folder)
{
    fs::create_directories(toNativePath(folder + "\\x"));
    std::ofstream(toNativePath(folder + "\\a.htm")) << "old";
    std::ofstream(toNativePath(folder + "\\x\\b.htm")) << "old";
}

// kelvane-cli.exe as the user starts it, on folders of the real drive, among
// them one directly below its root and one of four characters ("C:\a").
TEST(WindowsProgram, TakesWindowsPathsAsTypedAndShowsUtf8InTheConsole)
{
    const std::string id = std::to_string(GetCurrentProcessId());
    const std::string drive = fromNativePath(fs::temp_directory_path().root_name());
    const std::string site = drive + "\\kelvane-" + id;
    const std::string temp = fromNativePath(fs::temp_directory_path()) + "\\kelvane-" + id;
    std::string shortSite = drive + "\\a", slashedSite = site, report = temp + "\\Bericht-ä.csv";
    while (fs::exists(toNativePath(shortSite)) && shortSite.back() < 'z')
        ++shortSite.back();
    std::replace(slashedSite.begin(), slashedSite.end(), '\\', '/');
    const std::string euro = temp + "\\web\\€uro", omega = temp + "\\Ωmega";
    const auto clear = [&] {
        std::error_code ignored;
        for (const std::string& made :
             {site, site + "_Moved", shortSite, shortSite + "_Moved", temp})
            fs::remove_all(toNativePath(made), ignored);
    };
    const auto cli = [](const std::string& directory) {
        return std::vector<std::string>{"--url", "U", directory};
    };
    struct Case
    {
        std::vector<std::string> arguments;
        DWORD status;
        std::string shown, written;
        bool nulInput = false;
        std::string typed = {}, folder = {}, made = {};
    };
    // The site's own pages, spelled in other ways: never a place for a list.
    std::string upperSite = site;
    std::transform(upperSite.begin(), upperSite.end(), upperSite.begin(),
                   [](char c) { return c >= 'a' && c <= 'z' ? char(c - 'a' + 'A') : c; });
    const auto reportAt = [&](const std::string& path) {
        return std::vector<std::string>{"--yes", "--report", path, "--url", "U", site};
    };
    const Case cases[] = {
        {{"--help"}, 0, "Schreibt für jede Datei", ""},
        {cli(drive + "\\"), 1, "Bitte Unterverzeichnis auswählen", ""},
        {cli(drive), 1, "Bitte Unterverzeichnis auswählen", "", false, "", "\\x"},
        {cli(missingDrive()), 1, "Verzeichnis nicht gefunden\n" + missingDrive() + "\n", ""},
        {cli("\\\\kein-server\\share\\site"), 1, "gefunden\n\\\\kein-server\\share\\site\n", ""},
        {cli(site), 0, "Fertig, 2 Dateien", site + "_Moved\\x\\b.htm"},
        {cli(site + "\\"), 0, "Fertig, 2 Dateien", site + "_Moved\\x\\b.htm"},
        {cli(slashedSite), 0, "Fertig, 2 Dateien", site + "_Moved\\x\\b.htm"},
        {cli(shortSite), 0, "Fertig, 2 Dateien", shortSite + "_Moved\\a.htm"},
        {cli("\\\\?\\" + site), 0, "Fertig, 2 Dateien", site + "_Moved\\a.htm"},
        {cli(euro), 0, "Fertig, 2 Dateien", euro + "_Moved\\a.htm"},
        {cli(omega), 0, "Fertig, 2 Dateien", omega + "_Moved\\x\\b.htm"},
        {{"--report", temp + "/Bericht-ä.csv", "--url", "U", site}, 0, "Fertig", report},
        {cli(site + "\\x"), 1, "Nein (ohne Terminal", "", true},
        {cli(site + "\\x"), 0, "[j/n]", site + "\\x_Moved\\b.htm", false, "j\r"},
        {reportAt(upperSite + "\\A.HTM"), 2, "darf weder im Verzeichnis", ""},
        {reportAt("\\\\?\\" + site + "\\a.htm"), 2, "darf weder im Verzeichnis", ""},
        {reportAt(upperSite + "_MOVED\\a.htm"), 2, "darf weder im Verzeichnis", "", false, "", "",
         site + "_Moved"},
        {reportAt(upperSite + "_MOVED.NGINX.CONF"), 2, "zugleich eine andere Ausgabe", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.arguments.back());
        clear();
        for (const std::string& folder : {site, shortSite, euro, omega})
            makeSite(folder);
        fs::create_directories(toNativePath(site + "\\x_Moved"));
        if (!c.made.empty()) {
            fs::create_directories(toNativePath(c.made));
            std::ofstream(toNativePath(c.made + "\\a.htm")) << "old";
        }
        const auto [status, screen] =
            runInConsole(c.arguments, site + c.folder, c.nulInput, c.typed);
        EXPECT_EQ(status, c.status);
        EXPECT_NE(screen.find(c.shown), std::string::npos) << screen;
        EXPECT_TRUE(c.written.empty() || fs::exists(toNativePath(c.written))) << c.written;
        std::ifstream page(toNativePath(site + "\\a.htm"));
        EXPECT_EQ(std::string(std::istreambuf_iterator<char>(page), {}), "old");
    }
    clear();
}

// A file and the folders above it, through extended-length paths, so also
// beyond 260 characters and for names such as "aux.html".
void putFile(const std::string& path, const std::string& bytes = "old")
{
    for (std::size_t at = path.find('\\', 3); at != std::string::npos; at = path.find('\\', at + 1))
        CreateDirectoryW(toWin32Path(path.substr(0, at)).c_str(), nullptr);
    const HANDLE file = CreateFileW(toWin32Path(path).c_str(), GENERIC_WRITE, 0, nullptr,
                                    CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
}

std::string readFile(const std::string& path)
{
    const HANDLE file = CreateFileW(toWin32Path(path).c_str(), GENERIC_READ, FILE_SHARE_READ,
                                    nullptr, OPEN_EXISTING, 0, nullptr);
    char buffer[256];
    DWORD got = 0;
    const bool read = ReadFile(file, buffer, sizeof buffer, &got, nullptr);
    CloseHandle(file);
    return read ? std::string(buffer, got) : std::string();
}

bool exists(const std::string& path)
{
    return GetFileAttributesW(toWin32Path(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

// How many names in the folder are the name but for letter case: Wine's own
// calls find either twin under both spellings, only its listing tells them.
int caseTwins(const std::string& folder, const wchar_t* name)
{
    WIN32_FIND_DATAW entry;
    const HANDLE listing = FindFirstFileW(toWin32Path(folder + "\\*").c_str(), &entry);
    if (listing == INVALID_HANDLE_VALUE)
        return 0;
    int twins = 0;
    do
        twins += _wcsicmp(entry.cFileName, name) == 0;
    while (FindNextFileW(listing, &entry));
    FindClose(listing);
    return twins;
}

// What mingw's standard library and the plain Win32 paths got wrong, each
// row on a site of its own: links to folders, a lock that a shell in the
// output root took for another run, names Windows cannot open, paths beyond
// 260 characters and names that differ only in letter case.
TEST(WindowsProgram, MeetsTheWindowsFileSystemAsItIs)
{
    const std::string top = fromNativePath(fs::temp_directory_path().root_name()) + "\\kelvane-" +
                            std::to_string(GetCurrentProcessId()) + "-fs";
    const std::string longSite =
        top + "\\" + std::string(150, 'l') + "\\" + std::string(120, 'm') + "\\site";
    struct Case
    {
        std::string site;
        std::function<void(const std::string&)> prepare;
        std::vector<std::string> options;
        std::string folder;
        DWORD status;
        std::string shown;
        std::vector<std::string> written, untouched;
    };
    const auto site = [&](const char* name) { return top + "\\" + name; };
    const Case cases[] = {
        {site("links"),
         [&](const std::string& s) {
             putFile(top + "\\other\\c.htm");
             ASSERT_TRUE(makeFolderLink(s, ".", "loop") && makeFolderLink(s, "../other", "out"));
         },
         {},
         "",
         3,
         "2 verknüpfte Ordner wurden übersprungen",
         {"_Moved\\x\\b.htm"},
         {"_Moved\\loop", "_Moved\\out"}},
        {site("linkedroot"),
         [&](const std::string& s) {
             ASSERT_TRUE(makeFolderLink(top, "linkedroot", "linkedroot_Moved"));
             (void)s;
         },
         {"--yes"},
         "",
         1,
         "ist eine Verknüpfung",
         {},
         {}},
        {site("shell"),
         [&](const std::string& s) {
             CreateDirectoryW(toWin32Path(s + "_Moved").c_str(), nullptr);
         },
         {"--yes"},
         "_Moved",
         0,
         "Fertig, 2 Dateien",
         {"_Moved\\a.htm"},
         {}},
        {site("names"),
         [&](const std::string& s) {
             for (const char* name : {"con.htm", "aux.html", "y.\\c.htm"})
                 putFile(s + "\\" + name);
         },
         {},
         "",
         3,
         "3 Seiten konnten nicht geschrieben werden",
         {"_Moved\\a.htm", "_Moved\\x\\b.htm"},
         {"_Moved\\aux.html", "_Moved\\y.", "_Moved\\y"}},
        {longSite,
         [](const std::string&) {},
         {},
         "",
         0,
         "Fertig, 2 Dateien",
         {"_Moved\\x\\b.htm"},
         {}},
        {site("case"),
         [&](const std::string& s) {
             ASSERT_TRUE(runUnixCommand(s, "/usr/bin/touch Page.htm page.htm"));
             ASSERT_TRUE(untilTrue([&] { return caseTwins(s, L"page.htm") == 2; }));
         },
         {},
         "",
         3,
         "1 Seite konnte nicht geschrieben werden",
         {"_Moved\\a.htm"},
         {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.site.substr(top.size()));
        removeTree(toNativePath(top));
        putFile(c.site + "\\a.htm");
        putFile(c.site + "\\x\\b.htm");
        c.prepare(c.site);
        std::vector<std::string> arguments = c.options;
        arguments.insert(arguments.end(), {"--url", "U", c.site});
        // A current folder has fewer than 260 characters on Windows.
        const std::string current = c.site.size() < 200 ? c.site + c.folder : top;
        const auto [status, screen] = runInConsole(arguments, current, false, "");
        EXPECT_EQ(status, c.status);
        EXPECT_NE(screen.find(c.shown), std::string::npos) << screen;
        for (const std::string& written : c.written)
            EXPECT_TRUE(exists(c.site + written)) << written;
        for (const std::string& untouched : c.untouched)
            EXPECT_FALSE(exists(c.site + untouched)) << untouched;
        EXPECT_EQ(readFile(c.site + "\\a.htm"), "old") << "the old site stays as it was";
    }
    removeTree(toNativePath(top));
}

// Windows lets a program use paths beyond 260 characters in the system's own
// functions only when its manifest says it takes them.
TEST(WindowsProgram, DeclaresItselfLongPathAware)
{
    const HMODULE program =
        LoadLibraryExW(toNativePath(besideThisProgram("kelvane-cli.exe")).c_str(), nullptr,
                       LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    ASSERT_NE(program, nullptr);
    const HRSRC resource = FindResourceW(program, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24));
    ASSERT_NE(resource, nullptr);
    const std::string manifest(
        static_cast<const char*>(LockResource(LoadResource(program, resource))),
        SizeofResource(program, resource));
    EXPECT_NE(manifest.find("<ws2:longPathAware>true</ws2:longPathAware>"), std::string::npos);
    FreeLibrary(program);
}

} // namespace

#endif
