#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

class OutputTree;

// Separator between the levels of a path, as the platform writes it.
#ifdef _WIN32
inline constexpr char PathSeparator = '\\';
#else
inline constexpr char PathSeparator = '/';
#endif

// The direct entries of one folder, each as its full path: the folder's path
// as passed, the separator, the entry's name.
struct FolderContents
{
    std::vector<std::string> Files;
    std::vector<std::string> SubFolders;
    // Links to folders, which a walk does not enter.
    std::vector<std::string> SkippedLinks;
};

// Every file and folder access of the program goes through this interface, so
// tests can put a fake in its place and inject failures. Paths are UTF-8 text.
// Every failure throws EngineError of kind FileSystem, naming the path and the
// system's reason.
class FileSystem
{
public:
    virtual ~FileSystem() = default;

    virtual bool FolderExists(const std::string& path) = 0;
    // True only for an existing entry that is not a folder.
    virtual bool FileExists(const std::string& path) = 0;
    // Creates one folder whose parent exists.
    virtual void CreateFolder(const std::string& path) = 0;
    // Lists files and subfolders, each sorted by name. Links to folders are
    // listed apart so that a walk cannot loop; links to files count as files.
    virtual FolderContents ListFolder(const std::string& path) = 0;
    // The whole file as bytes; an empty file gives the empty text.
    virtual std::string ReadAll(const std::string& path) = 0;
    // Creates or replaces the file with exactly these bytes. The replacement
    // is atomic: afterwards the file is either the old one or the new one.
    virtual void WriteFile(const std::string& path, std::string_view bytes) = 0;
    // Whether a file can be created in the folder.
    virtual bool FolderWritable(const std::string& path) = 0;
    // Whether the entry itself is a symbolic link (or, on Windows, another
    // kind of redirecting entry).
    virtual bool IsLink(const std::string& path) = 0;
    // The path with every link resolved, as far as it exists; the rest is
    // appended as written.
    virtual std::string RealPath(const std::string& path) = 0;
    // Opens the output root for writing, creating it when it is missing (its
    // parent must exist). Fails when the root is a link or no folder.
    virtual std::unique_ptr<OutputTree> openOutputTree(const std::string& root) = 0;

    // The same as WriteFile, with carriage return and line feed appended.
    void WriteLine(const std::string& path, std::string_view bytes);
};
