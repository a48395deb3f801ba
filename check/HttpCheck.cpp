#include "HttpCheck.h"

#include "BrowserUrl.h"
#include "HttpTransfers.h"
#include "PageTrail.h"
#include "RobotsFetch.h"

#include <cstdlib>
#include <map>
#include <sstream>

namespace {

// Tests on loopback give the host name variants of the homepage addresses
// of their own servers here, in curl's --connect-to form, separated by
// spaces; nothing else changes where a name leads.
std::vector<std::string> connectToFromEnvironment()
{
    std::vector<std::string> entries;
    if (const char* text = std::getenv("KELVANE_CHECK_CONNECT_TO")) {
        std::istringstream words(text);
        for (std::string entry; words >> entry;)
            entries.push_back(entry);
    }
    return entries;
}

// A variant no server answers on is no address anyone can reach.
bool nobodyThere(const CheckResult& result)
{
    return result.Class == CheckClass::Fehler &&
           (result.Reason == "keine Verbindung" || result.Reason == "Rechner nicht gefunden");
}

using RobotsSites = std::map<std::string, std::unique_ptr<RobotsFetch>>;

bool allows(const RobotsSites& sites, const std::string& url)
{
    const auto site = sites.find(BrowserUrl::origin(url));
    if (site == sites.end() || !site->second->rules())
        return true;
    return site->second->rules()->allows(BrowserUrl::pathAndQuery(url));
}

// A crawler never sees the redirect of an old address the old site's
// robots.txt blocks, and drops a target that the new site's blocks.
void noteRobotsRules(std::vector<CheckResult>& results, const HttpTransfers::Settings& settings,
                     const std::atomic<bool>* cancel)
{
    RobotsSites sites;
    const auto want = [&](const std::string& url) {
        const std::string origin = BrowserUrl::origin(url);
        if (BrowserUrl::isWebAddress(url) && !origin.empty() && !sites.count(origin))
            sites.emplace(origin, std::make_unique<RobotsFetch>(origin));
    };
    for (const CheckResult& result : results) {
        want(result.OldUrl);
        if (result.reached())
            want(result.FinalUrl);
    }
    std::vector<std::unique_ptr<HopTrail>> fetches;
    for (auto& [origin, fetch] : sites)
        fetches.push_back(std::move(fetch));
    if (!HttpTransfers::run(fetches, settings, {}, cancel))
        return;
    auto fetch = fetches.begin();
    for (auto& [origin, site] : sites)
        site.reset(static_cast<RobotsFetch*>((fetch++)->release()));

    for (CheckResult& result : results) {
        if (!allows(sites, result.OldUrl))
            result.addNote(CheckNote::RobotsAlt);
        if (result.reached() && !allows(sites, result.FinalUrl))
            result.addNote(CheckNote::RobotsNeu);
    }
}

} // namespace

HttpCheck::HttpCheck() : HttpCheck(Limits{}) {}

HttpCheck::HttpCheck(Limits limits) : m_limits(limits) {}

std::vector<CheckResult> HttpCheck::run(const std::vector<Page>& pages, const Progress& progress,
                                        const std::atomic<bool>* cancel) const
{
    const HttpTransfers::Settings settings{m_limits.Parallel, m_limits.PerRequest,
                                           HttpTransfers::Clock::now() + m_limits.Total,
                                           connectToFromEnvironment()};
    std::vector<std::string> variants;
    if (!pages.empty() && !m_homepage.OldUrl.empty())
        variants = BrowserUrl::hostVariants(m_homepage.OldUrl);

    std::vector<std::unique_ptr<HopTrail>> trails;
    std::vector<CheckResult> results;
    for (const Page& page : pages) {
        trails.push_back(std::make_unique<PageTrail>(page.OldUrl, page.PageUrl,
                                                     page.IsPage ? PageTrail::Kind::Page
                                                                 : PageTrail::Kind::File));
        results.push_back({CheckClass::Fehler, page.OldUrl, page.OldUrl, 0, "abgebrochen", 0, {}});
    }
    for (const std::string& variant : variants) {
        trails.push_back(std::make_unique<PageTrail>(variant, m_homepage.NewUrl));
        results.push_back({CheckClass::Fehler, variant, variant, 0, "abgebrochen", 0, {}});
    }
    const bool done = HttpTransfers::run(
        trails, settings,
        [&](std::size_t index) {
            results[index] = static_cast<const PageTrail&>(*trails[index]).result();
            if (progress)
                progress(index, results[index]);
        },
        cancel);
    if (!done)
        return results;

    // The given homepage keeps its line whatever it answered.
    for (std::size_t i = pages.size(); i < results.size(); ++i) {
        if (!results[i].reached())
            results[i].addNote(CheckNote::HostVariante);
    }
    for (std::size_t i = results.size(); i > pages.size() + 1; --i) {
        if (nobodyThere(results[i - 1]))
            results.erase(results.begin() + static_cast<std::ptrdiff_t>(i - 1));
    }
    noteRobotsRules(results, settings, cancel);
    return results;
}
