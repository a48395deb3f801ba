#pragma once

#include <string>
#include <string_view>
#include <vector>

// A site's robots.txt as a search engine's crawler reads it: the group of
// rules for that crawler, or without one the group for every crawler ("*");
// of the Allow and Disallow rules matching a path, the longest wins, Allow
// on a tie; "*" matches any run of characters and a final "$" the end.
class RobotsTxt
{
public:
    // The crawler whose rules count: the one whose guidance the check follows.
    static constexpr std::string_view Crawler = "googlebot";

    // No rules: everything allowed, as for a site without robots.txt.
    RobotsTxt() = default;
    static RobotsTxt parse(std::string_view text, std::string_view crawler = Crawler);

    // pathAndQuery as on the wire ("/a%20b.htm?x=1") or as typed.
    bool allows(std::string_view pathAndQuery) const;

private:
    struct Rule
    {
        std::string Pattern;
        bool Allow = false;
    };

    std::vector<Rule> m_rules;
};
