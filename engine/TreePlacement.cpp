#include "TreePlacement.h"

#include "FileSystem.h"

namespace {

// The same folder, or one inside it.
bool isWithin(const std::string& path, const std::string& folder)
{
    if (path.compare(0, folder.size(), folder) != 0)
        return false;
    return path.size() == folder.size() || path[folder.size()] == PathSeparator ||
           (!folder.empty() && folder.back() == PathSeparator);
}

} // namespace

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
    const std::string realBase = fileSystem.RealPath(baseDirectory);
    const std::string realRoot = fileSystem.RealPath(outputRoot);
    if (isWithin(realRoot, realBase) || isWithin(realBase, realRoot))
        return "Ordner " + shownRoot + " führt in das Verzeichnis " + shownBase +
               " oder liegt darüber.\r\nKelvane schreibt dort nicht, damit die alten Seiten "
               "unverändert bleiben.";
    return {};
}

bool TreePlacement::liesInTrees(FileSystem& fileSystem, const std::string& path,
                                const std::string& baseDirectory)
{
    const std::string realPath = fileSystem.RealPath(path);
    return isWithin(realPath, fileSystem.RealPath(baseDirectory)) ||
           isWithin(realPath, fileSystem.RealPath(baseDirectory + "_Moved"));
}
