#include "LocalTree.h"

#include "FileSystem.h"
#include "Sha256.h"

#include <algorithm>

namespace {

std::string relativeOf(const std::string& root, const std::string& fullPath)
{
    std::string relative = fullPath.substr(root.size() + 1);
    std::replace(relative.begin(), relative.end(), PathSeparator, '/');
    return relative;
}

void scanFolder(FileSystem& fileSystem, const std::string& root, const std::string& folder,
                std::vector<LocalTree::File>& files)
{
    const FolderContents contents = fileSystem.ListFolder(folder);
    for (const std::string& path : contents.Files) {
        if (fileSystem.IsLink(path))
            continue;
        const std::string bytes = fileSystem.ReadAll(path);
        files.push_back({relativeOf(root, path), path, bytes.size(), Sha256::hex(bytes)});
    }
    for (const std::string& sub : contents.SubFolders) {
        if (!fileSystem.IsLink(sub))
            scanFolder(fileSystem, root, sub, files);
    }
}

} // namespace

std::string LocalTree::File::folder() const
{
    const std::size_t slash = Path.rfind('/');
    return slash == std::string::npos ? std::string() : Path.substr(0, slash);
}

std::string LocalTree::File::name() const
{
    return Path.substr(Path.rfind('/') + 1);
}

std::vector<LocalTree::File> LocalTree::scan(FileSystem& fileSystem, const std::string& root)
{
    std::vector<File> files;
    scanFolder(fileSystem, root, root, files);
    std::sort(files.begin(), files.end(),
              [](const File& a, const File& b) { return a.Path < b.Path; });
    return files;
}
