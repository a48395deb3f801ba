#pragma once

#include "PageContent.h"

#include <string>

// One page of the old or the new site as the matcher sees it.
struct SitePage
{
    // The old page's path below the directory, or the new page's URL.
    std::string Address;
    // The part of the address whose words count: the path, without host.
    std::string PathText;
    PageContent Content;
};
