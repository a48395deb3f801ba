#pragma once

#include "EngineError.h"
#include "FileSystem.h"

#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <vector>

// An in-memory file system for tests: folders and files by full path, with
// failures to inject and a record of what was created, in order.
class MemoryFileSystem : public FileSystem
{
public:
    std::set<std::string> Folders;
    std::map<std::string, std::string> Files;
    std::set<std::string> UnlistableFolders;
    std::set<std::string> UnwritableFiles;
    std::set<std::string> ReadOnlyFolders;
    std::vector<std::string> CreatedFolders;
    std::vector<std::string> WrittenFiles;

    // A folder with every missing level above it.
    void addFolder(const std::string& path)
    {
        for (std::size_t at = path.find(PathSeparator, 1); at != std::string::npos;
             at = path.find(PathSeparator, at + 1))
            Folders.insert(path.substr(0, at));
        Folders.insert(path);
    }

    void addFile(const std::string& path, const std::string& bytes = "x")
    {
        addFolder(path.substr(0, path.rfind(PathSeparator)));
        Files[path] = bytes;
    }

    // Like a real file system, a trailing separator names the same folder.
    bool FolderExists(const std::string& path) override
    {
        const bool trailing = path.size() > 1 && path.back() == PathSeparator;
        return Folders.count(trailing ? path.substr(0, path.size() - 1) : path) > 0;
    }

    bool FileExists(const std::string& path) override { return Files.count(path) > 0; }

    bool FolderWritable(const std::string& path) override
    {
        return FolderExists(path) && !ReadOnlyFolders.count(path);
    }

    void CreateFolder(const std::string& path) override
    {
        const std::string parent = path.substr(0, path.rfind(PathSeparator));
        if ((!parent.empty() && !FolderExists(parent)) || ReadOnlyFolders.count(parent))
            fail("Ordner konnte nicht angelegt werden", path);
        Folders.insert(path);
        CreatedFolders.push_back(path);
    }

    FolderContents ListFolder(const std::string& path) override
    {
        if (!FolderExists(path) || UnlistableFolders.count(path))
            fail("Ordner konnte nicht gelesen werden", path);
        FolderContents contents;
        for (const auto& [file, bytes] : Files) {
            if (isChild(file, path))
                contents.Files.push_back(file);
        }
        for (const std::string& folder : Folders) {
            if (isChild(folder, path))
                contents.SubFolders.push_back(folder);
        }
        return contents;
    }

    std::string ReadAll(const std::string& path) override
    {
        const auto file = Files.find(path);
        if (file == Files.end())
            fail("Datei konnte nicht geöffnet werden", path);
        return file->second;
    }

    void WriteFile(const std::string& path, std::string_view bytes) override
    {
        const std::string folder = path.substr(0, path.rfind(PathSeparator));
        if (UnwritableFiles.count(path) || !FolderExists(folder) || ReadOnlyFolders.count(folder))
            fail("Datei konnte nicht angelegt werden", path);
        Files[path] = std::string(bytes);
        WrittenFiles.push_back(path);
    }

private:
    static bool isChild(const std::string& entry, const std::string& folder)
    {
        return entry.size() > folder.size() + 1 && entry.compare(0, folder.size(), folder) == 0 &&
               entry[folder.size()] == PathSeparator &&
               entry.find(PathSeparator, folder.size() + 1) == std::string::npos;
    }

    [[noreturn]] static void fail(const std::string& what, const std::string& path)
    {
        throw EngineError(EngineError::Kind::FileSystem, what + ": " + path + " (Testfehler)");
    }
};
