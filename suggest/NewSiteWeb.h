#pragma once

#include "SuggestProgress.h"
#include "WebFetcher.h"

#include <atomic>
#include <string>
#include <vector>

// The addresses of the new site as its server lists them: the sitemaps that
// robots.txt names, else /sitemap.xml below the given address and at the
// host's root; sitemap index files and gzip-packed sitemaps included.
class NewSiteWeb
{
public:
    // Sitemap files read at most, and how deep indexes may nest.
    static constexpr std::size_t SitemapLimit = 1000;
    static constexpr int DepthLimit = 4;
    static constexpr std::size_t PageLimit = 100'000;

    explicit NewSiteWeb(WebFetcher fetcher) : m_fetcher(std::move(fetcher)) {}

    // The listed page addresses in sitemap order, each once; empty with a
    // German reason in error when no sitemap lists a page.
    std::vector<std::string> addresses(const std::string& siteUrl, std::string& error,
                                       const std::atomic<bool>* cancel) const;

    // The addresses of a text file: one a line; blank lines and lines
    // starting with "#" are skipped.
    static std::vector<std::string> addressList(std::string_view text, std::string& error);

    // "http://host:port" of an address, or empty.
    static std::string origin(const std::string& url);

private:
    WebFetcher m_fetcher;
};
