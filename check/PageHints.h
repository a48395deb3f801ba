#pragma once

#include <optional>
#include <string>
#include <string_view>

// What a page's head says about the page beside its content: where it sends
// visitors on without the server, which address it names as its own, and
// whether search engines may index it. URLs as written in the page, with
// character references decoded.
struct PageHints
{
    // <meta http-equiv="refresh" content="0; url=...">
    std::optional<std::string> Refresh;
    // <link rel="canonical" href="...">
    std::optional<std::string> Canonical;
    // <meta name="robots" content="noindex"> (or "none", or for googlebot)
    bool NoIndex = false;

    static PageHints read(std::string_view html);

    // Where a visitor goes on: the refresh, or else the canonical link.
    std::optional<std::string> target() const { return Refresh ? Refresh : Canonical; }

    // Whether robots directives, as in a meta tag's content or an
    // X-Robots-Tag header ("noindex, nofollow", "googlebot: none"), forbid
    // indexing.
    static bool forbidIndexing(std::string_view directives);
};
