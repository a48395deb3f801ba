#pragma once

#include "CheckResult.h"

#include <atomic>
#include <chrono>
#include <cstddef>
#include <functional>
#include <string>
#include <vector>

// Asks web servers for every old address of a move and follows each to its
// end, with libcurl's multi interface: a few requests at once, each bounded
// in time, and the whole check bounded as well. Then it reads the robots.txt
// of the old site and of every target site, as a search engine would.
class HttpCheck
{
public:
    struct Page
    {
        std::string OldUrl;
        std::string PageUrl;
        // A page may arrive through its replacement page; another file not.
        bool IsPage = true;
    };

    // The old homepage, whose host name variants are checked as well.
    struct Homepage
    {
        std::string OldUrl;
        std::string NewUrl;
    };

    struct Limits
    {
        std::size_t Parallel = 8;
        std::chrono::milliseconds PerRequest{10'000};
        // Pages not finished by then end as "fehler".
        std::chrono::milliseconds Total{30 * 60'000};
    };

    // Called after each finished page with its index in the page list;
    // the homepage's variants follow the pages.
    using Progress = std::function<void(std::size_t index, const CheckResult& result)>;

    HttpCheck();
    explicit HttpCheck(Limits limits);

    // Also checks the homepage on each of its host names (http and https,
    // with and without "www."): each must end at the new homepage. Variants
    // no server answers on are left out.
    void checkHomepage(Homepage homepage) { m_homepage = std::move(homepage); }

    // One result per page, in the order of the pages, then one for each
    // homepage variant. cancel, when set from another thread, ends the
    // check soon; unfinished pages then keep the class "fehler" with the
    // reason "abgebrochen".
    std::vector<CheckResult> run(const std::vector<Page>& pages, const Progress& progress = {},
                                 const std::atomic<bool>* cancel = nullptr) const;

private:
    Limits m_limits;
    Homepage m_homepage;
};
