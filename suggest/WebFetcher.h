#pragma once

#include <atomic>
#include <chrono>
#include <cstddef>
#include <functional>
#include <string>
#include <vector>

// Loads web addresses with libcurl's multi interface: a few requests at
// once, each bounded in time and size, the whole bounded as well, following
// redirects as a browser does.
class WebFetcher
{
public:
    struct Limits
    {
        std::size_t Parallel = 4;
        std::chrono::milliseconds PerRequest{15'000};
        std::chrono::milliseconds Total{30 * 60'000};
        std::size_t BodyLimit = 8 * 1024 * 1024;
    };

    struct Answer
    {
        long Status = 0; // 0: no answer, Failure says why
        std::string ContentType;
        std::string Body;
        std::string Failure;
        bool ok() const { return Status >= 200 && Status < 300; }
    };

    // Called after each finished address with its index.
    using Progress = std::function<void(std::size_t index)>;

    WebFetcher();
    explicit WebFetcher(Limits limits);

    // One answer per address, in their order. Addresses not finished when
    // cancel is set or the total time runs out end with a Failure.
    std::vector<Answer> fetch(const std::vector<std::string>& urls, const Progress& progress = {},
                              const std::atomic<bool>* cancel = nullptr) const;

private:
    Limits m_limits;
};
