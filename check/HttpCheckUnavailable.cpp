// The move check of a build without libcurl: every page ends as "fehler"
// with the reason, so that nothing counts as checked that was not.
#include "HttpCheck.h"

HttpCheck::HttpCheck() : HttpCheck(Limits{}) {}

HttpCheck::HttpCheck(Limits limits) : m_limits(limits) {}

std::vector<CheckResult> HttpCheck::run(const std::vector<Page>& pages, const Progress& progress,
                                        const std::atomic<bool>*) const
{
    std::vector<CheckResult> results;
    for (const Page& page : pages) {
        CheckResult result;
        result.OldUrl = page.OldUrl;
        result.FinalUrl = page.OldUrl;
        result.Reason = "in dieser Ausgabe ohne HTTP-Prüfung gebaut";
        results.push_back(std::move(result));
        if (progress)
            progress(results.size() - 1, results.back());
    }
    return results;
}
