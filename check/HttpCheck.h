#pragma once

#include "CheckResult.h"

#include <atomic>
#include <chrono>
#include <cstddef>
#include <functional>
#include <string>
#include <vector>

// Asks a web server for every old address of a move and follows each to its
// end, with libcurl's multi interface: a few requests at once, each bounded
// in time, and the whole check bounded as well.
class HttpCheck
{
public:
    struct Page
    {
        std::string OldUrl;
        std::string PageUrl;
    };

    struct Limits
    {
        std::size_t Parallel = 8;
        std::chrono::milliseconds PerRequest{10'000};
        // Pages not finished by then end as "fehler".
        std::chrono::milliseconds Total{30 * 60'000};
    };

    // Called after each finished page with its index in the page list.
    using Progress = std::function<void(std::size_t index, const CheckResult& result)>;

    HttpCheck();
    explicit HttpCheck(Limits limits);

    // One result per page, in the order of the pages. cancel, when set from
    // another thread, ends the check soon; unfinished pages then keep the
    // class "fehler" with the reason "abgebrochen".
    std::vector<CheckResult> run(const std::vector<Page>& pages, const Progress& progress = {},
                                 const std::atomic<bool>* cancel = nullptr) const;

private:
    Limits m_limits;
};
