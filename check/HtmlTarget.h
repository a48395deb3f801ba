#pragma once

#include <optional>
#include <string>
#include <string_view>

// Where a page sends its visitors on without the server: the URL of its
// refresh (<meta http-equiv="refresh" content="0; url=...">), or else of its
// canonical link (<link rel="canonical" href="...">), as written in the page
// with character references decoded.
class HtmlTarget
{
public:
    static std::optional<std::string> find(std::string_view html);
};
