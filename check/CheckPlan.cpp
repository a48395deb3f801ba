#include "CheckPlan.h"

#include "BrowserUrl.h"

#include <utility>

namespace {

// A server serves index.* before default.*; 0 for any other name.
int indexRank(std::string_view fileName)
{
    std::string lower(fileName);
    for (char& c : lower)
        c = c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    if (lower.rfind("index.", 0) == 0)
        return 2;
    return lower.rfind("default.", 0) == 0 ? 1 : 0;
}

} // namespace

CheckPlan::CheckPlan(std::string oldSiteUrl, std::string newUrl)
    : m_oldSiteUrl(std::move(oldSiteUrl)), m_newUrl(std::move(newUrl))
{}

void CheckPlan::addPage(std::string_view relativePath, std::string_view url)
{
    m_pages.push_back({BrowserUrl::join(m_oldSiteUrl, relativePath), std::string(url), true});
    if (relativePath.find('/') != std::string_view::npos)
        return;
    const int rank = indexRank(relativePath);
    if (rank <= m_rootIndexRank)
        return;
    m_rootIndexRank = rank;
    m_rootIndexUrl = url;
    const std::string suffix = "/" + std::string(relativePath);
    if (m_rootIndexUrl.size() >= suffix.size() &&
        m_rootIndexUrl.compare(m_rootIndexUrl.size() - suffix.size(), suffix.size(), suffix) == 0)
        m_rootIndexUrl.resize(m_rootIndexUrl.size() - relativePath.size());
}

HttpCheck::Homepage CheckPlan::homepage() const
{
    return {BrowserUrl::join(m_oldSiteUrl, ""), m_rootIndexRank > 0 ? m_rootIndexUrl : m_newUrl};
}
