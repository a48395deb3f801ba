#include "FolderListing.h"

#include "EngineError.h"
#include "NativePath.h"

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <memory>
#include <system_error>

#ifdef _WIN32
#include "WindowsFiles.h"

#include <windows.h>
#else
#include <dirent.h>
#include <sys/stat.h>
#endif

namespace fs = std::filesystem;

FolderContents FolderListing::read(const std::string& path)
{
    FolderContents contents;
    readNames(path, contents);
    for (auto* names : {&contents.Files, &contents.SubFolders, &contents.SkippedLinks}) {
        std::sort(names->begin(), names->end());
        for (std::string& name : *names)
            name = path + PathSeparator + name;
    }
    return contents;
}

FolderListing::Kind FolderListing::linkKind(const std::string& path)
{
    std::error_code dangling;
    return fs::is_directory(toNativePath(path), dangling) ? Kind::LinkToFolder : Kind::File;
}

#ifndef _WIN32

// readdir hands over each entry's type with its name, so a large site is
// listed without a look-up per file.
void FolderListing::readNames(const std::string& path, FolderContents& names)
{
    const std::unique_ptr<DIR, int (*)(DIR*)> folder(opendir(path.c_str()), &closedir);
    if (!folder)
        throw EngineError::fileSystem("Ordner konnte nicht gelesen werden", path,
                                      {errno, std::generic_category()});
    for (;;) {
        errno = 0;
        const dirent* entry = readdir(folder.get());
        if (!entry)
            break;
        const std::string name = entry->d_name;
        if (name == "." || name == "..")
            continue;
        unsigned char type = entry->d_type;
        if (type == DT_UNKNOWN) {
            struct stat status;
            if (lstat((path + PathSeparator + name).c_str(), &status) != 0)
                throw EngineError::fileSystem("Eintrag konnte nicht gelesen werden",
                                              path + PathSeparator + name,
                                              {errno, std::generic_category()});
            type = S_ISDIR(status.st_mode) ? DT_DIR : S_ISLNK(status.st_mode) ? DT_LNK : DT_REG;
        }
        const Kind kind = type == DT_DIR   ? Kind::Folder
                          : type == DT_LNK ? linkKind(path + PathSeparator + name)
                                           : Kind::File;
        if (kind == Kind::Folder)
            names.SubFolders.push_back(name);
        else if (kind == Kind::File)
            names.Files.push_back(name);
        else
            names.SkippedLinks.push_back(name);
    }
    if (errno != 0)
        throw EngineError::fileSystem("Ordner konnte nicht gelesen werden", path,
                                      {errno, std::generic_category()});
}

#else

// The search hands over each entry's attributes with its name, as readdir
// does: no entry is opened, so a name Windows lists but cannot open ("aux.html",
// "x.") is listed all the same, and a reparse point (a symbolic link or
// junction) is known as one, which mingw's std::filesystem does not report.
// A linked folder is left out whatever its target; a linked file counts as a
// file.
void FolderListing::readNames(const std::string& path, FolderContents& names)
{
    for (WindowsFiles::Entry& entry : WindowsFiles::list(path)) {
        const bool folder = (entry.Attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        if (folder && entry.isLink())
            names.SkippedLinks.push_back(std::move(entry.Name));
        else if (folder)
            names.SubFolders.push_back(std::move(entry.Name));
        else
            names.Files.push_back(std::move(entry.Name));
    }
}

#endif
