#include "TreePlacement.h"

#include "FileSystem.h"
#include "NativePath.h"
#include "OpenFolder.h"

#include <filesystem>

std::string TreePlacement::folderOf(const std::string& path)
{
    const std::filesystem::path parent = toNativePath(path).parent_path();
    if (parent.empty())
        return ".";
    std::string folder = fromNativePath(parent);
#ifdef _WIN32
    // "C:" and "\\?\C:" name a drive's current folder or the volume, not its root.
    if (folder.back() == ':')
        folder += '\\';
#endif
    return folder;
}

std::string TreePlacement::nameOf(const std::string& path)
{
    return fromNativePath(toNativePath(path).filename());
}

std::string TreePlacement::outputRootRefusal(FileSystem& fileSystem,
                                             const std::string& baseDirectory,
                                             const std::string& shownBase)
{
    const std::string outputRoot = baseDirectory + "_Moved";
    const std::string shownRoot = shownBase + "_Moved";
    if (fileSystem.IsLink(outputRoot))
        return "Ordner " + shownRoot +
               " ist eine Verknüpfung.\r\nKelvane schreibt nur in einen echten Ordner, damit die "
               "alten Seiten unverändert bleiben.";
    if (fileSystem.FileExists(outputRoot))
        return "Ordner " + shownRoot +
               " kann nicht angelegt werden: Dort liegt schon eine Datei dieses Namens.";
    const std::unique_ptr<OpenFolder> site = fileSystem.openFolder(baseDirectory);
    if (!fileSystem.FolderExists(outputRoot))
        return {};
    const std::unique_ptr<OpenFolder> root = fileSystem.openFolder(outputRoot);
    if (root->liesIn(site->identity()) || site->liesIn(root->identity()))
        return "Ordner " + shownRoot + " führt in das Verzeichnis " + shownBase +
               " oder liegt darüber.\r\nKelvane schreibt dort nicht, damit die alten Seiten "
               "unverändert bleiben.";
    return {};
}

bool TreePlacement::liesInTrees(FileSystem& fileSystem, OpenFolder& folder,
                                const std::string& baseDirectory)
{
    if (folder.liesIn(fileSystem.openFolder(baseDirectory)->identity()))
        return true;
    const std::string outputRoot = baseDirectory + "_Moved";
    return fileSystem.FolderExists(outputRoot) &&
           folder.liesIn(fileSystem.openFolder(outputRoot)->identity());
}
