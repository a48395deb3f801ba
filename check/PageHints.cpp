#include "PageHints.h"

#include "AsciiCase.h"
#include "HtmlHead.h"

#include <cctype>

namespace {

bool isSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f';
}

std::string_view trimmed(std::string_view text)
{
    while (!text.empty() && isSpace(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isSpace(text.back()))
        text.remove_suffix(1);
    return text;
}

bool hasToken(const std::string& list, std::string_view token)
{
    std::size_t at = 0;
    const std::string lower = asciiLowered(list);
    while (at < lower.size()) {
        while (at < lower.size() && isSpace(lower[at]))
            ++at;
        std::size_t end = at;
        while (end < lower.size() && !isSpace(lower[end]))
            ++end;
        if (std::string_view(lower).substr(at, end - at) == token)
            return true;
        at = end;
    }
    return false;
}

// "0; url=target", "0;URL='target'" or "5, target".
std::optional<std::string> refreshUrl(std::string_view content)
{
    std::size_t at = 0;
    while (at < content.size() && (std::isdigit(static_cast<unsigned char>(content[at])) ||
                                   content[at] == '.' || isSpace(content[at])))
        ++at;
    if (at == content.size() || (content[at] != ';' && content[at] != ','))
        return std::nullopt;
    ++at;
    while (at < content.size() && isSpace(content[at]))
        ++at;
    if (asciiLowered(content.substr(at, 3)) == "url") {
        std::size_t equals = at + 3;
        while (equals < content.size() && isSpace(content[equals]))
            ++equals;
        if (equals < content.size() && content[equals] == '=') {
            at = equals + 1;
            while (at < content.size() && isSpace(content[at]))
                ++at;
        }
    }
    std::string_view url = content.substr(at);
    if (!url.empty() && (url.front() == '"' || url.front() == '\'')) {
        const std::size_t close = url.find(url.front(), 1);
        url = url.substr(1, close == std::string_view::npos ? std::string_view::npos : close - 1);
    }
    url = trimmed(url);
    if (url.empty())
        return std::nullopt;
    return std::string(url);
}

bool namesIndexingRobots(const HtmlHead::Element& meta)
{
    const std::string name = asciiLowered(trimmed(meta.attribute("name")));
    return name == "robots" || name == "googlebot";
}

} // namespace

PageHints PageHints::read(std::string_view html)
{
    PageHints hints;
    for (const HtmlHead::Element& element : HtmlHead::read(html)) {
        if (element.Name == "meta") {
            if (!hints.Refresh &&
                asciiLowered(trimmed(element.attribute("http-equiv"))) == "refresh")
                hints.Refresh = refreshUrl(element.attribute("content"));
            if (namesIndexingRobots(element) && forbidIndexing(element.attribute("content")))
                hints.NoIndex = true;
        } else if (element.Name == "link" && !hints.Canonical &&
                   hasToken(element.attribute("rel"), "canonical") &&
                   !trimmed(element.attribute("href")).empty()) {
            hints.Canonical = std::string(trimmed(element.attribute("href")));
        }
    }
    return hints;
}

bool PageHints::forbidIndexing(std::string_view directives)
{
    while (!directives.empty()) {
        const std::size_t comma = directives.find(',');
        std::string_view directive = directives.substr(0, comma);
        directives.remove_prefix(comma == std::string_view::npos ? directives.size() : comma + 1);
        // "googlebot: noindex" names the crawler before the rule.
        if (const std::size_t colon = directive.find(':'); colon != std::string_view::npos)
            directive.remove_prefix(colon + 1);
        const std::string rule = asciiLowered(trimmed(directive));
        if (rule == "noindex" || rule == "none")
            return true;
    }
    return false;
}
