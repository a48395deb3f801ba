#pragma once

#ifdef _WIN32

#include "NativePath.h"

#include <filesystem>
#include <string>
#include <windows.h>

// Under Wine a Windows program can start a Unix program by its Unix path, in
// a Windows folder as its current folder. The tests make what a Windows
// program cannot make there: Unix symbolic links, which Wine shows as reparse
// points (Wine's CreateSymbolicLinkW makes nothing), and names that differ
// only in letter case, which Wine's own calls take for one. Wine reports no
// exit status of a Unix program, so callers look for its effect, which
// untilTrue waits for. False when no such program could be started.
inline bool runUnixCommand(const std::string& folder, const std::string& command)
{
    std::wstring line;
    if (!toWideText(command, line))
        return false;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        toNativePath(folder).c_str(), &startup, &process))
        return false;
    WaitForSingleObject(process.hProcess, 30'000);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return true;
}

// Whether the condition holds within ten seconds.
template <typename Condition>
bool untilTrue(Condition condition)
{
    for (int attempt = 0; attempt < 200; ++attempt) {
        if (condition())
            return true;
        Sleep(50);
    }
    return false;
}

// Removes the folder without following the links in it, which mingw's
// std::filesystem would follow (it knows no links): under Wine with the Unix
// rm, on Windows itself with remove_all, where the test made no links. Wine
// does not wait for a Unix program, so rm is started only for a folder that
// is there, and its end is seen when the folder has gone: an rm started for
// nothing could still be at work when the caller makes the folder anew.
inline void removeTree(const std::filesystem::path& folder)
{
    std::error_code ignored;
    if (!std::filesystem::exists(folder, ignored))
        return;
    const bool removed =
        runUnixCommand(fromNativePath(folder.parent_path()),
                       "/bin/rm -rf \"" + fromNativePath(folder.filename()) + "\"") &&
        untilTrue([&] { return !std::filesystem::exists(folder, ignored); });
    if (!removed)
        std::filesystem::remove_all(folder, ignored);
}

// A symbolic link named name in folder, to target as written (relative to
// folder). On Windows itself the system makes it, which needs the right to.
inline bool makeFolderLink(const std::string& folder, const std::string& target,
                           const std::string& name)
{
    const std::wstring link = toWin32Path(folder + "\\" + name);
    const auto made = [&] {
        const DWORD attributes = GetFileAttributesW(link.c_str());
        return attributes != INVALID_FILE_ATTRIBUTES &&
               (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
    };
    std::wstring wideTarget;
    toWideText(target, wideTarget);
    for (wchar_t& c : wideTarget)
        c = c == L'/' ? L'\\' : c;
    if (CreateSymbolicLinkW(link.c_str(), wideTarget.c_str(), SYMBOLIC_LINK_FLAG_DIRECTORY) &&
        made())
        return true;
    return runUnixCommand(folder, "/bin/ln -s \"" + target + "\" \"" + name + "\"") &&
           untilTrue(made);
}

#endif
