#include "CheckPlan.h"

#include "BrowserUrl.h"
#include "EngineError.h"
#include "FileSystem.h"
#include "PageMapping.h"
#include "PageUrl.h"
#include "TypedPath.h"
#include "clsDateiString.h"
#include "clsDateiliste.h"

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
    m_pagePaths.emplace(relativePath);
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

void CheckPlan::addOtherFiles(FileSystem& fileSystem, const RelocationInputs& inputs)
{
    std::string baseDirectory = TypedPath::resolve(inputs.Verzeichnis);
    if (baseDirectory.size() > 1 && baseDirectory.back() == PathSeparator)
        baseDirectory.pop_back();
    // The run has read the mapping already and refused a faulty one.
    PageMapping mapping;
    if (!inputs.Zuordnungsdatei.empty()) {
        std::string error;
        try {
            mapping = PageMapping::parse(fileSystem.ReadAll(inputs.Zuordnungsdatei), error);
        } catch (const EngineError&) {
        }
    }
    clsDateiliste files(fileSystem);
    files.BasisVerzeichnis = baseDirectory;
    files.UnreadableFolder = [](const EngineError&) {};
    try {
        files.erzeugeDateiliste();
    } catch (const EngineError&) {
        return;
    }
    const clsDateiString paths(fileSystem);
    for (const std::string& path : files.Dateiliste()) {
        if (path.size() <= baseDirectory.size())
            continue;
        const std::string relativePath = PageUrl::toUrlPath(path.substr(baseDirectory.size() + 1));
        if (m_pagePaths.count(relativePath))
            continue;
        const std::string relativeFolder = paths.GetPfad(path).substr(baseDirectory.size());
        const std::string url =
            mapping.urlFor(relativePath)
                .value_or(PageUrl::build(inputs.URLneu, relativeFolder, paths.GetDatei(path),
                                         inputs.appendsSubpath()));
        m_pages.push_back({BrowserUrl::join(m_oldSiteUrl, relativePath), url, false});
    }
}
