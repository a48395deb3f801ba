#pragma once

#ifdef _WIN32

#include <cstdio>
#include <string>
#include <vector>

// The file tests and the exclusive creation NativeFileSystem needs on Windows,
// where the C runtime falls short: its stat rejects a bare drive ("C:"), its
// fopen ignores the exclusive "x" mode and truncates a file of the name, and
// neither takes paths of 260 characters or more. Every path goes to the
// system in its extended-length form (toWin32Path).
class WindowsFiles
{
public:
    struct Entry
    {
        std::string Name;
        unsigned long Attributes;
        unsigned long ReparseTag; // when Attributes has FILE_ATTRIBUTE_REPARSE_POINT

        // A symbolic link or junction, which names another entry; not a
        // cloud placeholder (a folder kept online only), which is the folder
        // itself. Wine gives its Unix links no tag at all.
        bool isLink() const;
    };

    // By the entry's attributes, which also answer for drive roots and device
    // paths. Text that is not a path is neither a folder nor a file.
    static bool isFolder(const std::string& path);
    static bool isFile(const std::string& path);
    // A symbolic link, junction or other reparse point: an entry that sends
    // the system elsewhere. Under Wine, Unix symbolic links show as such.
    static bool isLink(const std::string& path);
    // The entry's attributes, links not followed; INVALID_FILE_ATTRIBUTES
    // when there is none.
    static unsigned long attributesOf(const std::string& path);

    // The folder's entries with their attributes as the listing gives them,
    // without "." and "..", in the system's order; no entry is opened, so a
    // name the system lists but cannot open is listed all the same. Throws
    // EngineError.
    static std::vector<Entry> list(const std::string& path);

    // Why a file or folder of this name cannot be made under the usual
    // Windows rules (a device name such as "aux.html", a trailing dot or
    // space, a character such as "?"), or the empty text when it can.
    static std::string unusableNameReason(const std::string& name);

    // A new file open for binary writing, or nullptr with errno set; EEXIST
    // when an entry of that name exists already, which stays untouched.
    static std::FILE* createNew(const std::string& path);
};

#endif
