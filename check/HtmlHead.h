#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// The elements of a page's head as a browser's HTML parser reads them: tag
// and attribute names in lower case, character references decoded, values
// in UTF-8 whatever the page's charset. Reading stops where the body
// begins, since refresh, canonical link and robots rules stand in the head,
// and at a start tag longer than LongestTag, which no head element needs:
// the parser's work grows faster than the text in both, so a hostile answer
// cannot make reading it slow.
class HtmlHead
{
public:
    static constexpr std::size_t LongestTag = 16 * 1024;

    struct Element
    {
        std::string Name;
        std::vector<std::pair<std::string, std::string>> Attributes;

        // The value of the first attribute of that name; empty when absent.
        std::string attribute(std::string_view name) const;
        bool hasAttribute(std::string_view name) const;
    };

    static std::vector<Element> read(std::string_view html);
};
