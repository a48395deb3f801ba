#pragma once

#include "SitePage.h"

#include <cstddef>
#include <vector>

// The frame of a site: navigation, footer, sidebars and the site's name in
// every title. Its text stands on a large share of the site's pages, so it
// says nothing about any one of them; left in, it would make every old page
// resemble every new one (or none) alike.
class SiteBoilerplate
{
public:
    // A block, heading or title part counts as frame when it stands on at
    // least MinimumPages pages and on at least this share of the site.
    static constexpr double Share = 0.1;
    static constexpr std::size_t MinimumPages = 3;

    // Removes the frame from the pages of one site.
    static void remove(std::vector<SitePage>& pages);

    // The parts of a title between separators such as " - ", " | ", " — ".
    static std::vector<std::string> titleParts(const std::string& title);
};
