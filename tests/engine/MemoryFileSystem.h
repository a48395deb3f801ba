#pragma once

#include "EngineError.h"
#include "FileSystem.h"
#include "OpenFolder.h"
#include "OutputTree.h"
#include "TemporaryName.h"

#include <algorithm>
#include <functional>
#include <map>
#include <memory>
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
    // Entries that are links; the fake resolves none.
    std::set<std::string> Links;
    // Writes of these pages fail with the given reason.
    std::map<std::string, std::errc> FailingFiles;
    // Folders that are another folder under a second path, as a bind mount
    // makes them: the same identity, whatever lies below.
    std::map<std::string, std::string> SameFolders;
    // Output roots that another run holds.
    std::set<std::string> LockedRoots;
    // Output roots a run of this test holds right now, and the files written
    // while it held none.
    std::set<std::string> HeldRoots;
    std::vector<std::string> WrittenUnheld;
    std::vector<std::string> CreatedFolders;
    std::vector<std::string> WrittenFiles;
    int Flushes = 0;

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
        if (HeldRoots.empty())
            WrittenUnheld.push_back(path);
    }

    bool IsLink(const std::string& path) override { return Links.count(path) > 0; }
    std::string RealPath(const std::string& path) override { return path; }
    std::unique_ptr<OutputTree> openOutputTree(const std::string& root) override;
    std::unique_ptr<OpenFolder> openFolder(const std::string& path) override;

    FileIdentity identityOf(std::string path) const
    {
        for (const auto& [alias, folder] : SameFolders) {
            if (path == alias || path.rfind(alias + PathSeparator, 0) == 0)
                path = folder + path.substr(alias.size());
        }
        return {1, std::hash<std::string>{}(path)};
    }

    [[noreturn]] static void fail(const std::string& what, const std::string& path)
    {
        throw EngineError(EngineError::Kind::FileSystem, what + ": " + path + " (Testfehler)");
    }

private:
    static bool isChild(const std::string& entry, const std::string& folder)
    {
        return entry.size() > folder.size() + 1 && entry.compare(0, folder.size(), folder) == 0 &&
               entry[folder.size()] == PathSeparator &&
               entry.find(PathSeparator, folder.size() + 1) == std::string::npos;
    }
};

// A folder of the fake, known by the identity its path has there.
class MemoryOpenFolder : public OpenFolder
{
public:
    MemoryOpenFolder(MemoryFileSystem& fileSystem, const std::string& path)
        : m_fs(fileSystem), m_path(path)
    {
        if (!m_fs.FolderExists(path))
            MemoryFileSystem::fail("Ordner konnte nicht geöffnet werden", path);
    }

    const std::string& path() const override { return m_path; }
    FileIdentity identity() const override { return m_fs.identityOf(m_path); }

    std::vector<FileIdentity> ancestry() override
    {
        std::vector<FileIdentity> chain;
        for (std::string folder = m_path; !folder.empty();
             folder = folder.substr(0, folder.rfind(PathSeparator)))
            chain.push_back(m_fs.identityOf(folder));
        return chain;
    }

    Entry entry(const std::string& name) override
    {
        const std::string path = m_path + PathSeparator + name;
        if (m_fs.Links.count(path) || m_fs.Folders.count(path))
            return Entry::Other;
        return m_fs.Files.count(path) ? Entry::RegularFile : Entry::Missing;
    }

    void writeFile(const std::string& name, std::string_view bytes) override
    {
        if (entry(name) == Entry::Other)
            MemoryFileSystem::fail("Datei wird nicht ersetzt", m_path + PathSeparator + name);
        m_fs.WriteFile(m_path + PathSeparator + name, bytes);
    }

    void removeStaleTemporaries(const std::vector<std::string>& names) override
    {
        std::erase_if(m_fs.Files, [&](const auto& file) {
            const std::string prefix = m_path + PathSeparator;
            return file.first.rfind(prefix, 0) == 0 &&
                   std::any_of(names.begin(), names.end(), [&](const std::string& name) {
                       return TemporaryName::matchesBesideTarget(file.first.substr(prefix.size()),
                                                                 name);
                   });
        });
    }

private:
    MemoryFileSystem& m_fs;
    std::string m_path;
};

// Enters every level from the root, like the real tree, so that a link on
// the way fails instead of being followed.
class MemoryOutputTree : public OutputTree
{
public:
    MemoryOutputTree(MemoryFileSystem& fileSystem, const std::string& root)
        : m_fs(fileSystem), m_root(root),
          m_parentFolder(fileSystem, root.substr(0, root.rfind(PathSeparator)))
    {
        enterLevel(m_root);
        m_rootFolder = std::make_unique<MemoryOpenFolder>(fileSystem, root);
    }

    OpenFolder& rootFolder() override { return *m_rootFolder; }
    OpenFolder& parentFolder() override { return m_parentFolder; }

    ~MemoryOutputTree() override { m_fs.HeldRoots.erase(m_root); }

    bool lock() override
    {
        if (m_fs.LockedRoots.count(m_root))
            return false;
        m_fs.HeldRoots.insert(m_root);
        return true;
    }

    void enterFolder(const std::string& relativeFolder) override
    {
        for (std::size_t at = relativeFolder.find(PathSeparator, 1); at != std::string::npos;
             at = relativeFolder.find(PathSeparator, at + 1))
            enterLevel(m_root + relativeFolder.substr(0, at));
        m_folder = m_root + relativeFolder;
        enterLevel(m_folder);
    }

    void writePage(const std::string& name, std::string_view bytes) override
    {
        const std::string path = m_folder + PathSeparator + name;
        if (m_fs.FailingFiles.count(path))
            throw EngineError::fileSystem("Datei konnte nicht geschrieben werden", path,
                                          std::make_error_code(m_fs.FailingFiles.at(path)));
        m_fs.WriteFile(path, bytes);
    }

    void flush() override { ++m_fs.Flushes; }

private:
    void enterLevel(const std::string& path)
    {
        if (m_fs.Links.count(path) || m_fs.Files.count(path))
            throw EngineError(EngineError::Kind::FileSystem, "Kein Ordner: " + path);
        if (!m_fs.Folders.count(path))
            m_fs.CreateFolder(path);
        std::erase_if(m_fs.Files, [&](const auto& file) {
            return file.first.rfind(path + PathSeparator, 0) == 0 &&
                   TemporaryName::matches(file.first.substr(path.size() + 1));
        });
    }

    MemoryFileSystem& m_fs;
    std::string m_root;
    std::string m_folder;
    MemoryOpenFolder m_parentFolder;
    std::unique_ptr<MemoryOpenFolder> m_rootFolder;
};

inline std::unique_ptr<OutputTree> MemoryFileSystem::openOutputTree(const std::string& root)
{
    return std::make_unique<MemoryOutputTree>(*this, root);
}

inline std::unique_ptr<OpenFolder> MemoryFileSystem::openFolder(const std::string& path)
{
    return std::make_unique<MemoryOpenFolder>(*this, path);
}
