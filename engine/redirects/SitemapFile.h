#pragma once

#include "RedirectOutput.h"
#include "RedirectPlan.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// A sitemap (sitemaps.org, 0.9) of the addresses a move redirects: the old
// side lists every old address, so that crawlers come to see the redirects,
// the new side every address they end at. Folders whose index page moved
// come first, then pages and other files in the order of the run. Beyond the
// protocol's limits the list is split into parts beside the file, and the
// file becomes the sitemap index that names them.
class SitemapFile : public RedirectOutput
{
public:
    enum class Side
    {
        Old,
        New
    };

    struct Limits
    {
        std::size_t Urls = 50000;
        std::size_t Bytes = 52428800; // 50 MiB, uncompressed
    };

    // The schema takes addresses of this many characters, no fewer, no more.
    static constexpr std::size_t ShortestUrl = 12;
    static constexpr std::size_t LongestUrl = 2048;

    SitemapFile(RedirectRun run, Side side);
    SitemapFile(RedirectRun run, Side side, Limits limits);

    void addPage(const RelocationWindow::Page& page) override
    {
        m_plan.add(page.RelativePath, page.Url);
    }
    void addOtherFile(const RelocationWindow::Page& file) override
    {
        m_plan.addOtherFile(file.RelativePath, file.Url);
    }
    std::string text() const override;
    std::vector<Part> parts() const override;
    std::vector<std::string> warnings() const override;

    // Why the text cannot be the old site's address, in German; empty when
    // it can.
    static std::string refusalForOldUrl(std::string_view url);
    // The text with the five characters XML gives a meaning escaped.
    static std::string escaped(std::string_view text);

private:
    struct Locations
    {
        std::vector<std::string> Urls;
        std::size_t Skipped = 0;
    };

    Locations locations() const;
    std::vector<std::string> urlSets() const;
    std::string fileName(std::size_t part) const;
    // Where the files lie on their host, ending in "/".
    std::string siteFolder() const;

    RedirectPlan m_plan;
    Side m_side;
    Limits m_limits;
};
