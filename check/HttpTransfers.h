#pragma once

#include "HopTrail.h"

#include <atomic>
#include <chrono>
#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <vector>

// Runs trails over HTTP with libcurl's multi interface: at most `parallel`
// requests at once, each bounded in time; trails not finished by the
// deadline are abandoned. Every hop is a request of its own, since each is
// judged on its own.
class HttpTransfers
{
public:
    using Clock = std::chrono::steady_clock;
    // Called once for each trail when it has finished, with its index.
    using Finished = std::function<void(std::size_t index)>;

    struct Settings
    {
        std::size_t Parallel = 8;
        std::chrono::milliseconds PerRequest{10'000};
        Clock::time_point Deadline;
        // Other addresses for host names, as curl's CURLOPT_CONNECT_TO takes
        // them ("host:port:address:port").
        std::vector<std::string> ConnectTo;
    };

    // Returns false when cancelled; unfinished trails are then left as they are.
    static bool run(std::vector<std::unique_ptr<HopTrail>>& trails, const Settings& settings,
                    const Finished& finished, const std::atomic<bool>* cancel);

    // A failed transfer's reason in German.
    static std::string failureText(int curlCode);
};
