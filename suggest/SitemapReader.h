#pragma once

#include <string>
#include <string_view>
#include <vector>

// The addresses a sitemap lists (<url><loc>) and, in a sitemap index, the
// further sitemaps (<sitemap><loc>); read with the same HTML5 parser as the
// pages, which takes XML's elements as unknown ones.
class SitemapReader
{
public:
    struct Sitemap
    {
        std::vector<std::string> Pages;
        std::vector<std::string> Sitemaps;
    };

    static Sitemap read(std::string_view xml);

    // The addresses of the "Sitemap:" lines of a robots.txt.
    static std::vector<std::string> robotsSitemaps(std::string_view robots);
};
