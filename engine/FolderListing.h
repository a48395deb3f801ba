#pragma once

#include "FileSystem.h"

// Reads the entries of one folder for NativeFileSystem::ListFolder.
class FolderListing
{
public:
    // Files and subfolders by name, each sorted, as full paths. A link counts
    // as what it points to, except that links to folders are listed apart so
    // that a walk cannot loop; a dangling link is a file. Throws EngineError.
    static FolderContents read(const std::string& path);

private:
    enum class Kind
    {
        File,
        Folder,
        LinkToFolder
    };

    static void readNames(const std::string& path, FolderContents& names);
    static Kind linkKind(const std::string& path);
};
