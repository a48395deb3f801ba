#pragma once

#ifdef _WIN32

#include <cstdio>
#include <string>

// The file tests and the exclusive creation NativeFileSystem needs on Windows,
// where the C runtime falls short: its stat rejects a bare drive ("C:"), and
// its fopen ignores the exclusive "x" mode and truncates a file of the name.
class WindowsFiles
{
public:
    // By the entry's attributes, which also answer for drive roots and device
    // paths. Text that is not a path is neither a folder nor a file.
    static bool isFolder(const std::string& path);
    static bool isFile(const std::string& path);

    // A new file open for binary writing, or nullptr with errno set; EEXIST
    // when an entry of that name exists already, which stays untouched.
    static std::FILE* createNew(const std::string& path);
};

#endif
