#include "NewSiteWeb.h"

#include "AbsoluteUrl.h"
#include "GzipData.h"
#include "SitemapReader.h"

#include <curl/curl.h>
#include <memory>
#include <unordered_set>

namespace {

struct UrlDeleter
{
    void operator()(CURLU* url) const { curl_url_cleanup(url); }
};

struct TextDeleter
{
    void operator()(char* text) const { curl_free(text); }
};

std::string part(CURLU* url, CURLUPart which)
{
    char* text = nullptr;
    if (curl_url_get(url, which, &text, 0) != CURLUE_OK || !text)
        return {};
    const std::unique_ptr<char, TextDeleter> owned(text);
    return text;
}

std::string withoutTrailingSlash(std::string url)
{
    while (!url.empty() && url.back() == '/')
        url.pop_back();
    return url;
}

// The first places to look for sitemaps, each once.
std::vector<std::string> firstSitemaps(const std::string& siteUrl, const std::string& origin,
                                       const std::vector<std::string>& fromRobots)
{
    if (!fromRobots.empty())
        return fromRobots;
    std::vector<std::string> places{withoutTrailingSlash(siteUrl) + "/sitemap.xml"};
    if (origin + "/sitemap.xml" != places.front())
        places.push_back(origin + "/sitemap.xml");
    return places;
}

std::string sitemapText(const WebFetcher::Answer& answer)
{
    if (!GzipData::isGzip(answer.Body))
        return answer.Body;
    return GzipData::inflate(answer.Body).value_or(std::string());
}

} // namespace

std::string NewSiteWeb::origin(const std::string& url)
{
    const std::unique_ptr<CURLU, UrlDeleter> handle(curl_url());
    if (!handle || curl_url_set(handle.get(), CURLUPART_URL, url.c_str(), 0) != CURLUE_OK)
        return {};
    const std::string scheme = part(handle.get(), CURLUPART_SCHEME);
    const std::string host = part(handle.get(), CURLUPART_HOST);
    const std::string port = part(handle.get(), CURLUPART_PORT);
    if (scheme.empty() || host.empty())
        return {};
    return scheme + "://" + host + (port.empty() ? "" : ":" + port);
}

std::vector<std::string> NewSiteWeb::addresses(const std::string& siteUrl, std::string& error,
                                               const std::atomic<bool>* cancel) const
{
    const std::string root = origin(siteUrl);
    if (root.empty()) {
        error = "Die Adresse der neuen Site ist ungültig: " + siteUrl;
        return {};
    }
    const std::vector<WebFetcher::Answer> robots =
        m_fetcher.fetch({root + "/robots.txt"}, {}, cancel);
    const std::vector<std::string> named = robots.front().ok()
                                               ? SitemapReader::robotsSitemaps(robots.front().Body)
                                               : std::vector<std::string>();

    std::vector<std::string> pages;
    std::unordered_set<std::string> seen;
    std::vector<std::string> level = firstSitemaps(siteUrl, root, named);
    std::size_t sitemapsRead = 0;
    for (int depth = 0; depth < DepthLimit && !level.empty(); ++depth) {
        if (level.size() > SitemapLimit - sitemapsRead)
            level.resize(SitemapLimit - sitemapsRead);
        sitemapsRead += level.size();
        const std::vector<WebFetcher::Answer> answers = m_fetcher.fetch(level, {}, cancel);
        std::vector<std::string> next;
        for (const WebFetcher::Answer& answer : answers) {
            if (!answer.ok())
                continue;
            SitemapReader::Sitemap sitemap = SitemapReader::read(sitemapText(answer));
            for (std::string& page : sitemap.Pages) {
                if (pages.size() < PageLimit && seen.insert(page).second)
                    pages.push_back(std::move(page));
            }
            for (std::string& child : sitemap.Sitemaps) {
                if (seen.insert(child).second)
                    next.push_back(std::move(child));
            }
        }
        level = std::move(next);
    }
    if (pages.empty())
        error = "Unter " + siteUrl +
                " nennt keine Sitemap eine Seite (robots.txt, sitemap.xml). Bitte den Ordner der "
                "neuen Site oder eine Textdatei mit ihren Adressen angeben.";
    return pages;
}

std::vector<std::string> NewSiteWeb::addressList(std::string_view text, std::string& error)
{
    std::vector<std::string> addresses;
    std::unordered_set<std::string> seen;
    std::size_t start = 0;
    for (std::size_t line = 1; start < text.size(); ++line) {
        const std::size_t end = std::min(text.find('\n', start), text.size());
        std::string address(text.substr(start, end - start));
        start = end + 1;
        while (!address.empty() &&
               (address.back() == '\r' || address.back() == ' ' || address.back() == '\t'))
            address.pop_back();
        address.erase(0, address.find_first_not_of(" \t\xEF\xBB\xBF"));
        if (address.empty() || address[0] == '#')
            continue;
        if (const std::string problem = AbsoluteUrl::problem(address); !problem.empty()) {
            error = "Adressliste, Zeile " + std::to_string(line) + ": " + problem + ": " + address;
            return {};
        }
        if (seen.insert(address).second)
            addresses.push_back(std::move(address));
    }
    if (addresses.empty())
        error = "Die Adressliste nennt keine Adresse.";
    return addresses;
}
