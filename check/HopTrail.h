#pragma once

#include <cstddef>
#include <string>

// One answer of a web server, as far as the check reads it.
struct HttpAnswer
{
    long Status = 0;
    // The Location of a redirect, as the server sent it.
    std::string Location;
    // The start of the body, for a 200 answer.
    std::string Body;
    // Why there was no answer, in German; empty when there was one.
    std::string Failure;
    // The Content-Type header; empty when there was none.
    std::string ContentType;
    // The X-Robots-Tag headers, joined by ",".
    std::string RobotsTag;
};

// Something the check follows from address to address: it names the next
// URL to ask for and takes the answer, and makes no request itself, so the
// same rules serve every way of fetching.
class HopTrail
{
public:
    virtual ~HopTrail() = default;

    // The URL to ask for next, while the trail is not finished.
    virtual const std::string& nextUrl() const = 0;
    virtual bool finished() const = 0;
    // Takes the answer for nextUrl(); afterwards either finished() or a new
    // nextUrl().
    virtual void take(const HttpAnswer& answer) = 0;
    // Ends the trail without an answer, e.g. when the time is up.
    virtual void abandon(const std::string& reason) = 0;
    // How much of a body the trail reads.
    virtual std::size_t bodyLimit() const { return 256 * 1024; }
};
