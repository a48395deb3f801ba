#include "NewSiteFolder.h"

#include "BrowserUrl.h"
#include "FileSystem.h"
#include "clsDateiliste.h"
#include "clsParser.h"

#include <algorithm>

namespace {

bool isIndexName(std::string name)
{
    std::transform(name.begin(), name.end(), name.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return name == "index.html" || name == "index.htm";
}

} // namespace

std::string NewSiteFolder::addressOf(const std::string& siteUrl, const std::string& relativePath)
{
    const std::size_t slash = relativePath.rfind('/');
    const std::size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
    if (isIndexName(relativePath.substr(nameStart)))
        return BrowserUrl::join(siteUrl, relativePath.substr(0, nameStart));
    return BrowserUrl::join(siteUrl, relativePath);
}

std::vector<NewSiteFolder::Page> NewSiteFolder::list(FileSystem& fileSystem,
                                                     const std::string& folder,
                                                     const std::string& types,
                                                     const std::string& siteUrl)
{
    std::string base = folder;
    while (base.size() > 1 && base.back() == PathSeparator)
        base.pop_back();
    clsDateiliste files(fileSystem);
    files.BasisVerzeichnis = base;
    files.DateitypenFiltern = true;
    clsParser parser;
    parser.InputText = types;
    files.Dateitypen(parser.TextList());
    files.erzeugeDateiliste();

    std::vector<Page> pages;
    for (const std::string& path : files.Dateiliste()) {
        std::string relative = path.substr(std::min(path.size(), base.size() + 1));
        std::replace(relative.begin(), relative.end(), PathSeparator, '/');
        pages.push_back({addressOf(siteUrl, relative), path, relative});
    }
    return pages;
}
