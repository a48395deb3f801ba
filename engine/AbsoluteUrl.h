#pragma once

#include <string>
#include <string_view>

// A URL a page may send its visitors to on its own: "http://" or "https://",
// a host, and nothing that could break out of the page's attributes and
// scripts or of a server rule.
class AbsoluteUrl
{
public:
    // Empty when the text is such a URL, otherwise why not, in German.
    static std::string problem(std::string_view text);
};
