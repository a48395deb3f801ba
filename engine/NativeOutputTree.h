#pragma once

#include "NativeOpenFolder.h"
#include "OutputTree.h"

#include <memory>
#include <random>
#include <string>
#include <vector>

// The output tree on the machine's file system. On POSIX every level is
// opened relative to the open level above it with O_NOFOLLOW, so a link put
// into the tree while the run is going cannot redirect a write either.
class NativeOutputTree : public OutputTree
{
public:
    // Opens (and, when missing, creates) the root. Throws EngineError.
    explicit NativeOutputTree(const std::string& root);
    ~NativeOutputTree() override;
    NativeOutputTree(const NativeOutputTree&) = delete;
    NativeOutputTree& operator=(const NativeOutputTree&) = delete;

    bool lock() override;
    void enterFolder(const std::string& relativeFolder) override;
    void writePage(const std::string& name, std::string_view bytes) override;
    void flush() override;
    OpenFolder& rootFolder() override { return *m_rootFolder; }
    OpenFolder& parentFolder() override { return *m_parentFolder; }

private:
    void removeStaleTemporaries();

    std::string m_root;
    std::string m_folder; // the entered folder's full path, for messages
    std::mt19937_64 m_random;
    std::unique_ptr<NativeOpenFolder> m_parentFolder;
    std::unique_ptr<NativeOpenFolder> m_rootFolder;
#ifdef _WIN32
    void* m_lockHandle = nullptr;
    void* m_rootHandle = nullptr;
    std::vector<std::string> m_writtenFolders;
#else
    int m_rootDescriptor = -1; // owned by m_rootFolder
    int m_folderDescriptor = -1;
#endif
};
