#pragma once

#include "CheckResult.h"

#include <optional>
#include <set>
#include <string>

// Follows one old address hop by hop to where it ends and classifies it. It
// makes no request itself: it names the next URL to ask for and takes the
// answer, so the same rules serve every way of fetching.
class PageTrail
{
public:
    static constexpr int MaxHops = 10;

    struct Answer
    {
        long Status = 0;
        // The Location of a redirect, resolved against the address asked.
        std::string Location;
        // The start of the body, for a 200 answer.
        std::string Body;
        // Why there was no answer; empty when there was one.
        std::string Failure;
    };

    PageTrail(std::string oldUrl, std::string pageUrl);

    // The URL to ask for next, while the trail is not finished.
    const std::string& nextUrl() const { return m_current; }
    bool finished() const { return m_result.has_value(); }
    // Takes the answer for nextUrl(); afterwards either finished() or a new
    // nextUrl().
    void take(const Answer& answer);
    // The result once finished().
    const CheckResult& result() const { return *m_result; }

    // Ends the trail without an answer, e.g. when the time is up.
    void abandon(const std::string& reason);

private:
    void followTo(const std::string& target, long status, bool throughPage);
    void finish(CheckClass checkClass, long status, std::string reason = {});

    std::string m_oldUrl;
    std::string m_pageUrl;
    std::string m_current;
    int m_hops = 0;
    bool m_throughPage = false;
    std::set<std::string> m_visited;
    std::optional<CheckResult> m_result;
};
