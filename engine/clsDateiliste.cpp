#include "clsDateiliste.h"

#include "EngineError.h"
#include "FileSystem.h"

#include <algorithm>

clsDateiliste::clsDateiliste(FileSystem& fileSystem, std::function<void()> yield)
    : m_fileSystem(fileSystem), m_yield(std::move(yield))
{}

void clsDateiliste::Dateitypen(std::vector<std::string> Wert)
{
    m_types = std::move(Wert);
}

void clsDateiliste::erzeugeDateiliste()
{
    durchsucheOrdner(BasisVerzeichnis);
}

// A folder's own files come first, then the whole subtree of each subfolder
// in turn. The listing of one folder is released before its subfolders are
// walked, so memory grows with the depth, not the size, of the tree.
void clsDateiliste::durchsucheOrdner(const std::string& folder)
{
    std::vector<std::string> subFolders;
    {
        FolderContents contents = m_fileSystem.ListFolder(folder);
        for (const std::string& file : contents.Files) {
            pruefeDatei(file);
            if (m_yield)
                m_yield();
        }
        subFolders = std::move(contents.SubFolders);
        if (SkippedLink) {
            for (const std::string& link : contents.SkippedLinks)
                SkippedLink(link);
        }
    }
    for (const std::string& subFolder : subFolders)
        durchsucheUnterordner(subFolder);
}

void clsDateiliste::durchsucheUnterordner(const std::string& folder)
{
    if (!UnreadableFolder) {
        durchsucheOrdner(folder);
        return;
    }
    try {
        durchsucheOrdner(folder);
    } catch (const EngineError& error) {
        if (error.kind() != EngineError::Kind::FileSystem)
            throw;
        UnreadableFolder(error);
    }
}

void clsDateiliste::pruefeDatei(const std::string& path)
{
    if (DateitypenFiltern &&
        std::find(m_types.begin(), m_types.end(), Dateityp(path)) == m_types.end())
        return;
    m_files.push_back(path);
}

std::string_view clsDateiliste::Dateityp(std::string_view path)
{
    const std::size_t dot = path.rfind('.');
    return dot == std::string_view::npos ? std::string_view() : path.substr(dot + 1);
}
