#pragma once

#include "OutputTree.h"

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

private:
    void removeStaleTemporaries();

    std::string m_root;
    std::string m_folder; // the entered folder's full path, for messages
    std::mt19937_64 m_random;
#ifdef _WIN32
    void* m_lockHandle = nullptr;
    void* m_rootHandle = nullptr;
    std::vector<std::string> m_writtenFolders;
#else
    int m_rootDescriptor = -1;
    int m_folderDescriptor = -1;
#endif
};
