#pragma once

#include <string>
#include <string_view>

// Text for the HTML of a page, written so that the browser reads back exactly
// the text: in an attribute value (either quote) and between elements.
class HtmlText
{
public:
    // "&", "<", ">", '"' and "'" as character references, so that no
    // reference in the text is decoded and nothing ends the attribute.
    static std::string escaped(std::string_view text);
    // For an attribute value without quotes, which white space, "=" and the
    // backtick would end or spoil: those as character references too.
    static std::string escapedUnquoted(std::string_view text);
};
