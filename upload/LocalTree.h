#pragma once

#include <cstdint>
#include <string>
#include <vector>

class FileSystem;

// The files of the output root that go up: every regular file in it and its
// subfolders, links left out, with size and SHA-256 of the content.
class LocalTree
{
public:
    struct File
    {
        // Below the root, levels joined by "/", as on the server.
        std::string Path;
        std::string FullPath;
        std::uint64_t Size = 0;
        std::string Hash;

        // The folder part of Path ("" at the root) and the name.
        std::string folder() const;
        std::string name() const;
    };

    // Sorted by path. Throws EngineError when a folder or file cannot be read.
    static std::vector<File> scan(FileSystem& fileSystem, const std::string& root);
};
