#include "SitemapFile.h"

#include "RedirectText.h"

#include <unordered_set>

namespace {

constexpr std::string_view Head = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
constexpr std::string_view Namespace = " xmlns=\"http://www.sitemaps.org/schemas/sitemap/0.9\">\n";
constexpr std::string_view UrlSetEnd = "</urlset>\n";

std::string withoutTrailingSlash(std::string url)
{
    if (!url.empty() && url.back() == '/')
        url.pop_back();
    return url;
}

// The URL up to the last "/" of its path; the URL and a "/" when it has no
// path.
std::string folderOf(const std::string& url)
{
    const std::size_t scheme = url.find("://");
    const std::size_t pathStart = url.find('/', scheme == std::string::npos ? 0 : scheme + 3);
    if (pathStart == std::string::npos)
        return url + "/";
    return url.substr(0, url.rfind('/') + 1);
}

// A Location header may carry "[" and "]" in a path and a second "#"; RFC
// 3986 allows brackets in the host alone and one "#", which readers of a
// sitemap hold it to.
std::string strictUrl(std::string_view url)
{
    const std::string location = RedirectText::locationUrl(url);
    const std::size_t scheme = location.find("://");
    const std::size_t pathStart = location.find('/', scheme == std::string::npos ? 0 : scheme + 3);
    if (pathStart == std::string::npos)
        return location;
    std::string strict = location.substr(0, pathStart);
    bool inFragment = false;
    for (const char c : std::string_view(location).substr(pathStart)) {
        if (c == '[' || c == ']' || (c == '#' && inFragment)) {
            strict += '%';
            RedirectText::appendHex(strict, static_cast<unsigned char>(c));
            continue;
        }
        inFragment = inFragment || c == '#';
        strict += c;
    }
    return strict;
}

bool startsWith(std::string_view text, std::string_view start)
{
    return text.substr(0, start.size()) == start;
}

} // namespace

SitemapFile::SitemapFile(RedirectRun run, Side side) : SitemapFile(std::move(run), side, Limits())
{}

SitemapFile::SitemapFile(RedirectRun run, Side side, Limits limits)
    : m_plan(std::move(run), false), m_side(side), m_limits(limits)
{}

std::string SitemapFile::escaped(std::string_view text)
{
    std::string out;
    for (const char c : text) {
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        case '\'':
            out += "&apos;";
            break;
        default:
            out += c;
        }
    }
    return out;
}

std::string SitemapFile::refusalForOldUrl(std::string_view url)
{
    std::string_view rest;
    for (const std::string_view scheme : {"http://", "https://"}) {
        if (startsWith(url, scheme))
            rest = url.substr(scheme.size());
    }
    if (rest.empty() || rest[0] == '/')
        return "Die alte Adresse muss mit http:// oder https:// und dem Namen des Servers "
               "beginnen, nicht \"" +
               std::string(url) + "\".";
    for (const char c : url) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte <= 0x20 || byte == 0x7F || c == '"' || c == '<' || c == '>' || c == '\\')
            return "Die alte Adresse enthält ein unzulässiges Zeichen (Leerzeichen, \", <, >, \\ "
                   "oder ein Steuerzeichen).";
    }
    return {};
}

std::string SitemapFile::siteFolder() const
{
    const RedirectRun& run = m_plan.run();
    if (m_side == Side::Old)
        return withoutTrailingSlash(strictUrl(run.OldUrlText)) + "/";
    const std::string url = strictUrl(run.UrlText);
    return run.AppendsSubpath ? withoutTrailingSlash(url) + "/" : folderOf(url);
}

std::string SitemapFile::fileName(std::size_t part) const
{
    const std::string name = m_side == Side::Old ? "sitemap-alt" : "sitemap-neu";
    return part == 0 ? name + ".xml" : name + "-" + std::to_string(part) + ".xml";
}

// Percent-encoded as RFC 3986 has it; an address twice, or one the schema
// would refuse for its length, is left out.
SitemapFile::Locations SitemapFile::locations() const
{
    Locations result;
    std::unordered_set<std::string> seen;
    const std::string oldFolder = m_side == Side::Old ? siteFolder() : std::string();
    auto add = [&](const RedirectPlan::Rule& rule) {
        std::string url = m_side == Side::Old ? oldFolder + RedirectText::encodedPath(rule.Path)
                                              : strictUrl(rule.Url);
        if (url.size() < ShortestUrl || url.size() > LongestUrl)
            ++result.Skipped;
        else if (seen.insert(url).second)
            result.Urls.push_back(std::move(url));
    };
    for (const RedirectPlan::Rule& folder : m_plan.folderRules())
        add(folder);
    for (const RedirectPlan::Rule& page : m_plan.pageRules())
        add(page);
    return result;
}

// Complete urlset documents, each within the limits.
std::vector<std::string> SitemapFile::urlSets() const
{
    const std::string start = std::string(Head) + "<urlset" + std::string(Namespace);
    std::vector<std::string> documents;
    std::string current = start;
    std::size_t count = 0;
    for (const std::string& url : locations().Urls) {
        const std::string entry = "  <url><loc>" + escaped(url) + "</loc></url>\n";
        if (count > 0 && (count == m_limits.Urls ||
                          current.size() + entry.size() + UrlSetEnd.size() > m_limits.Bytes)) {
            documents.push_back(current + std::string(UrlSetEnd));
            current = start;
            count = 0;
        }
        current += entry;
        ++count;
    }
    documents.push_back(current + std::string(UrlSetEnd));
    return documents;
}

std::string SitemapFile::text() const
{
    std::vector<std::string> documents = urlSets();
    if (documents.size() == 1)
        return std::move(documents.front());
    std::string index = std::string(Head) + "<sitemapindex" + std::string(Namespace);
    const std::string folder = siteFolder();
    for (std::size_t part = 1; part <= documents.size(); ++part)
        index += "  <sitemap><loc>" + escaped(folder + fileName(part)) + "</loc></sitemap>\n";
    return index + "</sitemapindex>\n";
}

std::vector<RedirectOutput::Part> SitemapFile::parts() const
{
    std::vector<std::string> documents = urlSets();
    std::vector<Part> parts;
    if (documents.size() == 1)
        return parts;
    for (std::size_t part = 1; part <= documents.size(); ++part)
        parts.push_back({fileName(part), std::move(documents[part - 1])});
    return parts;
}

std::vector<std::string> SitemapFile::warnings() const
{
    const std::size_t skipped = locations().Skipped;
    if (skipped == 0)
        return {};
    return {fileName(0) + ": " + std::to_string(skipped) +
            " Adressen sind kürzer als 12 oder länger als 2048 Zeichen und fehlen darin."};
}
