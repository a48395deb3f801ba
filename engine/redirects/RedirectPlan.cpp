#include "RedirectPlan.h"

#include "RedirectText.h"

#include <algorithm>
#include <utility>

namespace {

std::string lowerAscii(std::string_view text)
{
    std::string lower(text);
    for (char& c : lower) {
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    }
    return lower;
}

// How strongly a file name claims its folder's address: a server serves
// index.* before default.*; 0 means not an index page at all.
int indexRank(std::string_view fileName)
{
    const std::string lower = lowerAscii(fileName);
    if (lower.rfind("index.", 0) == 0)
        return 2;
    if (lower.rfind("default.", 0) == 0)
        return 1;
    return 0;
}

// The part after the last "." of the file name, as the file selection reads
// a type; empty when the name has none.
std::string_view fileType(std::string_view fileName)
{
    const std::size_t dot = fileName.rfind('.');
    return dot == std::string_view::npos ? std::string_view() : fileName.substr(dot + 1);
}

} // namespace

RedirectPlan::RedirectPlan(RedirectRun run, bool patternsAllowed, std::string_view notForPatterns,
                           PathTest patternSafe)
    : m_run(std::move(run)), m_patternsAllowed(patternsAllowed), m_notForPatterns(notForPatterns),
      m_patternSafe(patternSafe ? patternSafe : &RedirectText::isPlainPath)
{}

void RedirectPlan::add(std::string_view relativePath, std::string_view url)
{
    addFolder(relativePath, url);
    if (!coveredByPattern(relativePath, url)) {
        m_pageRules.push_back({std::string(relativePath), std::string(url)});
        return;
    }
    const std::string type(fileType(relativePath.substr(relativePath.rfind('/') + 1)));
    if (std::find(m_patternTypes.begin(), m_patternTypes.end(), type) == m_patternTypes.end())
        m_patternTypes.push_back(type);
}

void RedirectPlan::addOtherFile(std::string_view relativePath, std::string_view url)
{
    if (leftAlone(relativePath))
        return;
    if (coveredByEveryFilePattern(relativePath, url))
        m_everyFile = true;
    else
        m_pageRules.push_back({std::string(relativePath), std::string(url)});
}

bool RedirectPlan::leftAlone(std::string_view relativePath)
{
    if (relativePath.empty() || relativePath[0] == '.' ||
        relativePath.find("/.") != std::string_view::npos || relativePath == "robots.txt")
        return true;
    constexpr std::string_view Sitemap = "sitemap-alt", Suffix = ".xml";
    if (relativePath.size() < Sitemap.size() + Suffix.size() ||
        relativePath.substr(0, Sitemap.size()) != Sitemap ||
        relativePath.substr(relativePath.size() - Suffix.size()) != Suffix)
        return false;
    const std::string_view part =
        relativePath.substr(Sitemap.size(), relativePath.size() - Sitemap.size() - Suffix.size());
    return part.empty() || (part.size() > 1 && part[0] == '-' &&
                            part.find_first_not_of("0123456789", 1) == std::string_view::npos);
}

// The pattern for every file carries the whole path, also when pages all go
// to the URL text alone.
bool RedirectPlan::coveredByEveryFilePattern(std::string_view relativePath,
                                             std::string_view url) const
{
    if (!m_patternsAllowed || !m_patternSafe(relativePath) ||
        (!m_notForPatterns.empty() &&
         relativePath.find_first_of(m_notForPatterns) != std::string_view::npos))
        return false;
    if (!m_run.AppendsSubpath)
        return url == m_run.UrlText;
    return url == m_run.UrlText + "/" + std::string(relativePath);
}

bool RedirectPlan::coveredByPattern(std::string_view relativePath, std::string_view url) const
{
    // The visitor's query goes before the URL's own fragment and after its
    // own query, which a pattern's appended path cannot do.
    if (!m_patternsAllowed || RedirectText::hasQueryOrFragment(m_run.UrlText) ||
        (!m_notForPatterns.empty() &&
         relativePath.find_first_of(m_notForPatterns) != std::string_view::npos))
        return false;
    const std::string_view fileName = relativePath.substr(relativePath.rfind('/') + 1);
    const std::string_view type = fileType(fileName);
    if (type.empty() || !RedirectText::isPlainPath(type))
        return false;
    if (!m_run.AppendsSubpath)
        return url == m_run.UrlText;
    return m_patternSafe(relativePath) &&
           url.size() == m_run.UrlText.size() + 1 + relativePath.size() &&
           url.substr(0, m_run.UrlText.size()) == m_run.UrlText &&
           url[m_run.UrlText.size()] == '/' && url.substr(m_run.UrlText.size() + 1) == relativePath;
}

void RedirectPlan::addFolder(std::string_view relativePath, std::string_view url)
{
    const std::size_t nameStart = relativePath.rfind('/') + 1;
    const std::string_view fileName = relativePath.substr(nameStart);
    const int rank = indexRank(fileName);
    if (rank == 0)
        return;
    // The folder's new address is its index page's URL without the file
    // name; a URL that does not end in the name (all pages to one URL) is
    // the folder's address as it is.
    std::string folderUrl(url);
    const std::string suffix = "/" + std::string(fileName);
    if (folderUrl.size() >= suffix.size() &&
        folderUrl.compare(folderUrl.size() - suffix.size(), suffix.size(), suffix) == 0)
        folderUrl.resize(folderUrl.size() - fileName.size());

    const std::string folder(relativePath.substr(0, nameStart));
    const auto known = m_folders.find(folder);
    if (known == m_folders.end() || known->second.Rank < rank)
        m_folders[folder] = {rank, std::move(folderUrl)};
}

std::vector<RedirectPlan::Rule> RedirectPlan::folderRules() const
{
    std::vector<Rule> rules;
    rules.reserve(m_folders.size());
    for (const auto& [path, folder] : m_folders)
        rules.push_back({path, folder.Url});
    return rules;
}
