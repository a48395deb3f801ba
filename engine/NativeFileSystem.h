#pragma once

#include "FileSystem.h"

#include <cstdint>
#include <random>

// The file system of the machine, through std::filesystem.
class NativeFileSystem : public FileSystem
{
public:
    NativeFileSystem();

    bool FolderExists(const std::string& path) override;
    bool FileExists(const std::string& path) override;
    void CreateFolder(const std::string& path) override;
    FolderContents ListFolder(const std::string& path) override;
    std::string ReadAll(const std::string& path) override;
    void WriteFile(const std::string& path, std::string_view bytes) override;
    bool FolderWritable(const std::string& path) override;
    bool IsLink(const std::string& path) override;
    std::string RealPath(const std::string& path) override;
    std::unique_ptr<OutputTree> openOutputTree(const std::string& root) override;
    std::unique_ptr<OpenFolder> openFolder(const std::string& path) override;

private:
    std::string temporaryNameFor(const std::string& path);

    std::mt19937_64 m_random;
};
