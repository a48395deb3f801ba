#pragma once

#include <string>
#include <vector>

class FileSystem;

// The pages of the new site as a folder of its files (a static export).
class NewSiteFolder
{
public:
    struct Page
    {
        std::string Url;
        std::string FilePath;
        std::string RelativePath; // levels joined by "/"
    };

    // Every file of the types below folder. A page's address is siteUrl,
    // "/" and its path; an index.html or index.htm stands for its folder's
    // address, which ends in "/".
    static std::vector<Page> list(FileSystem& fileSystem, const std::string& folder,
                                  const std::string& types, const std::string& siteUrl);

    static std::string addressOf(const std::string& siteUrl, const std::string& relativePath);
};
