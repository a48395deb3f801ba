#include "MappingSuggester.h"

#include "EngineError.h"
#include "FileSystem.h"
#include "HtmlPageReader.h"
#include "NewSiteFolder.h"
#include "NewSiteWeb.h"
#include "PageCharset.h"
#include "PageMatcher.h"
#include "SiteBoilerplate.h"
#include "SitePage.h"
#include "TermVectors.h"

namespace {

bool isWebAddress(const std::string& text)
{
    return text.rfind("http://", 0) == 0 || text.rfind("https://", 0) == 0;
}

bool cancelled(const std::atomic<bool>* cancel)
{
    return cancel && cancel->load();
}

void report(const SuggestProgressListener& progress, const char* step, std::size_t done,
            std::size_t total)
{
    if (progress)
        progress({step, done, total});
}

bool isHtml(const WebFetcher::Answer& answer)
{
    return answer.ContentType.empty() || answer.ContentType.find("html") != std::string::npos;
}

// The address without scheme and host: the part whose words count.
std::string pathOf(const std::string& url)
{
    const std::size_t scheme = url.find("://");
    const std::size_t slash = url.find('/', scheme == std::string::npos ? 0 : scheme + 3);
    return slash == std::string::npos ? std::string() : url.substr(slash);
}

std::string countText(std::size_t count, const char* one, const char* many)
{
    return std::to_string(count) + " " + (count == 1 ? one : many);
}

} // namespace

std::string MappingSuggester::Suggestion::url() const
{
    return Result == Verdict::KeinTreffer || Candidates.empty() ? std::string()
                                                                : Candidates.front().Url;
}

std::string MappingSuggester::Suggestion::runnerUp() const
{
    return Candidates.size() > 1 ? Candidates[1].Url : std::string();
}

MappingSuggester::MappingSuggester(FileSystem& fileSystem, WebFetcher::Limits limits)
    : m_fileSystem(fileSystem), m_limits(limits)
{}

MappingSuggester::Result MappingSuggester::run(const Request& request,
                                               const SuggestProgressListener& progress,
                                               const std::atomic<bool>* cancel) const
{
    Result result;
    std::vector<SitePage> newPages = readNewPages(request, result, progress, cancel);
    if (!result.Error.empty() || cancelled(cancel)) {
        result.Cancelled = cancelled(cancel);
        return result;
    }
    std::vector<SitePage> oldPages = readOldPages(request, result, progress, cancel);
    if (cancelled(cancel)) {
        result.Cancelled = true;
        return result;
    }

    report(progress, "Vergleichen", 0, 1);
    SiteBoilerplate::remove(oldPages);
    SiteBoilerplate::remove(newPages);
    const std::vector<TermVectors::Vector> vectors = TermVectors::build(oldPages, newPages);
    const std::vector<PageMatcher::Match> matches = PageMatcher::match(vectors, oldPages.size());
    for (std::size_t i = 0; i < oldPages.size(); ++i) {
        Suggestion suggestion{oldPages[i].Address, matches[i].Result, {}};
        for (const PageMatcher::Candidate& candidate : matches[i].Ranked)
            suggestion.Candidates.push_back({newPages[candidate.NewPage].Address, candidate.Score});
        result.Suggestions.push_back(std::move(suggestion));
    }
    report(progress, "Vergleichen", 1, 1);
    return result;
}

// The page with the content of its file. A page that cannot be read still
// takes part, by the words of its path, and its reason is a warning.
SitePage MappingSuggester::readPage(SitePage page, const std::string& filePath,
                                    Result& result) const
{
    try {
        page.Content = HtmlPageReader::read(PageCharset::toUtf8(m_fileSystem.ReadAll(filePath)));
    } catch (const EngineError& error) {
        result.Warnings.push_back(error.what());
    }
    return page;
}

std::vector<SitePage> MappingSuggester::readOldPages(const Request& request, Result& result,
                                                     const SuggestProgressListener& progress,
                                                     const std::atomic<bool>* cancel) const
{
    std::vector<SitePage> pages;
    pages.reserve(request.OldPages.size());
    for (const OldPage& old : request.OldPages) {
        if (cancelled(cancel))
            break;
        pages.push_back(readPage({old.RelativePath, old.RelativePath, {}}, old.SourcePath, result));
        report(progress, "Alte Seiten lesen", pages.size(), request.OldPages.size());
    }
    return pages;
}

std::vector<SitePage> MappingSuggester::readNewPages(const Request& request, Result& result,
                                                     const SuggestProgressListener& progress,
                                                     const std::atomic<bool>* cancel) const
{
    const std::string& site = request.NewSite;
    if (isWebAddress(site)) {
        report(progress, "Sitemap lesen", 0, 0);
        const std::vector<std::string> urls =
            NewSiteWeb(WebFetcher(m_limits)).addresses(site, result.Error, cancel);
        return result.Error.empty() ? readWeb(urls, result, progress, cancel)
                                    : std::vector<SitePage>();
    }
    try {
        if (m_fileSystem.FolderExists(site))
            return readFolder(request, result, progress, cancel);
        if (m_fileSystem.FileExists(site)) {
            const std::vector<std::string> urls =
                NewSiteWeb::addressList(m_fileSystem.ReadAll(site), result.Error);
            return result.Error.empty() ? readWeb(urls, result, progress, cancel)
                                        : std::vector<SitePage>();
        }
        result.Error = "Die neue Site \"" + site +
                       "\" ist weder ein Ordner noch eine Adresse mit http:// oder https:// noch "
                       "eine Textdatei mit Adressen.";
    } catch (const EngineError& error) {
        result.Error = error.what();
    }
    return {};
}

std::vector<SitePage> MappingSuggester::readFolder(const Request& request, Result& result,
                                                   const SuggestProgressListener& progress,
                                                   const std::atomic<bool>* cancel) const
{
    const std::vector<NewSiteFolder::Page> files =
        NewSiteFolder::list(m_fileSystem, request.NewSite, request.Types, request.NewUrl);
    if (files.empty()) {
        result.Error = "Im Ordner der neuen Site gibt es keine Seiten der gewählten Dateitypen: " +
                       request.NewSite;
        return {};
    }
    std::vector<SitePage> pages;
    pages.reserve(files.size());
    for (const NewSiteFolder::Page& file : files) {
        if (cancelled(cancel))
            break;
        pages.push_back(readPage({file.Url, file.RelativePath, {}}, file.FilePath, result));
        report(progress, "Neue Seiten lesen", pages.size(), files.size());
    }
    return pages;
}

std::vector<SitePage> MappingSuggester::readWeb(const std::vector<std::string>& urls,
                                                Result& result,
                                                const SuggestProgressListener& progress,
                                                const std::atomic<bool>* cancel) const
{
    std::size_t done = 0;
    const std::vector<WebFetcher::Answer> answers = WebFetcher(m_limits).fetch(
        urls, [&](std::size_t) { report(progress, "Neue Seiten laden", ++done, urls.size()); },
        cancel);
    std::vector<SitePage> pages;
    std::size_t unreachable = 0;
    std::size_t refused = 0;
    for (std::size_t i = 0; i < urls.size(); ++i) {
        const WebFetcher::Answer& answer = answers[i];
        SitePage page{urls[i], pathOf(urls[i]), {}};
        if (answer.Status >= 300) {
            // An address the server answers with an error is no place to send visitors.
            ++refused;
            continue;
        }
        if (answer.ok() && isHtml(answer))
            page.Content =
                HtmlPageReader::read(PageCharset::toUtf8(answer.Body, answer.ContentType));
        else if (!answer.ok())
            ++unreachable;
        pages.push_back(std::move(page));
    }
    if (refused > 0)
        result.Warnings.push_back(countText(refused, "neue Adresse", "neue Adressen") +
                                  " mit Fehlerantwort (4xx/5xx) übergangen.");
    if (unreachable > 0)
        result.Warnings.push_back(countText(unreachable, "neue Seite", "neue Seiten") +
                                  " nicht geladen; sie zählen nur mit den Wörtern ihrer Adresse.");
    if (pages.empty())
        result.Error = "Keine Seite der neuen Site war zu laden.";
    return pages;
}
