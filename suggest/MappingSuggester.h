#pragma once

#include "SuggestProgress.h"
#include "Verdict.h"
#include "WebFetcher.h"

#include <atomic>
#include <string>
#include <vector>

class FileSystem;
struct SitePage;

// Suggests a new address for every old page: reads both sites, removes each
// site's frame, and matches the pages by their words (see PageMatcher).
class MappingSuggester
{
public:
    struct OldPage
    {
        std::string RelativePath; // levels joined by "/", as in the mapping file
        std::string SourcePath;
    };

    struct Candidate
    {
        std::string Url;
        float Score = 0;
    };

    struct Suggestion
    {
        std::string OldPath;
        Verdict Result = Verdict::KeinTreffer;
        // The suggested address first, then the next best by score.
        std::vector<Candidate> Candidates;

        // The suggested address; empty for "kein Treffer".
        std::string url() const;
        std::string runnerUp() const;
        float score() const { return Candidates.empty() ? 0.0f : Candidates.front().Score; }
    };

    struct Request
    {
        std::vector<OldPage> OldPages;
        // A folder, an http(s) address or a text file of addresses.
        std::string NewSite;
        // The new site's URL: a folder's pages are addressed below it.
        std::string NewUrl;
        std::string Types;
    };

    struct Result
    {
        std::vector<Suggestion> Suggestions; // in the order of the old pages
        std::string Error;                   // German; nothing was suggested
        std::vector<std::string> Warnings;
        bool Cancelled = false;
    };

    explicit MappingSuggester(FileSystem& fileSystem, WebFetcher::Limits limits = {});

    // cancel, set from another thread, ends the work soon with Cancelled.
    Result run(const Request& request, const SuggestProgressListener& progress = {},
               const std::atomic<bool>* cancel = nullptr) const;

private:
    SitePage readPage(SitePage page, const std::string& filePath, Result& result) const;
    std::vector<SitePage> readOldPages(const Request& request, Result& result,
                                       const SuggestProgressListener& progress,
                                       const std::atomic<bool>* cancel) const;
    std::vector<SitePage> readNewPages(const Request& request, Result& result,
                                       const SuggestProgressListener& progress,
                                       const std::atomic<bool>* cancel) const;
    std::vector<SitePage> readFolder(const Request& request, Result& result,
                                     const SuggestProgressListener& progress,
                                     const std::atomic<bool>* cancel) const;
    std::vector<SitePage> readWeb(const std::vector<std::string>& urls, Result& result,
                                  const SuggestProgressListener& progress,
                                  const std::atomic<bool>* cancel) const;

    FileSystem& m_fileSystem;
    WebFetcher::Limits m_limits;
};
