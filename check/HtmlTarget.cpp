#include "HtmlTarget.h"

#include "TextCodec.h"

#include <cctype>
#include <cstdlib>
#include <map>

namespace {

using Attributes = std::map<std::string, std::string>;

std::string lowered(std::string_view text)
{
    std::string out(text);
    for (char& c : out)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

bool isSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f';
}

// The character references a URL in an attribute is likely to hold.
std::string decodeReferences(std::string_view text)
{
    static const std::map<std::string, char, std::less<>> Named = {
        {"amp", '&'}, {"quot", '"'}, {"apos", '\''}, {"lt", '<'}, {"gt", '>'}};
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const std::size_t end = text[i] == '&' ? text.find(';', i) : std::string_view::npos;
        if (end == std::string_view::npos || end - i > 10) {
            out += text[i];
            continue;
        }
        const std::string_view name = text.substr(i + 1, end - i - 1);
        if (name.size() > 1 && name[0] == '#') {
            const bool hex = name[1] == 'x' || name[1] == 'X';
            const std::string digits(name.substr(hex ? 2 : 1));
            char* rest = nullptr;
            const unsigned long code = std::strtoul(digits.c_str(), &rest, hex ? 16 : 10);
            if (digits.empty() || *rest != '\0' || code == 0 || code > 0x10FFFF) {
                out += text[i];
                continue;
            }
            TextCodec::appendUtf8(out, static_cast<char32_t>(code));
        } else if (const auto named = Named.find(lowered(name)); named != Named.end()) {
            out += named->second;
        } else {
            out += text[i];
            continue;
        }
        i = end;
    }
    return out;
}

// The attributes of the tag whose name ends at `at`, up to its ">".
Attributes readAttributes(std::string_view html, std::size_t at)
{
    Attributes attributes;
    while (at < html.size() && html[at] != '>') {
        if (isSpace(html[at]) || html[at] == '/') {
            ++at;
            continue;
        }
        const std::size_t nameStart = at;
        while (at < html.size() && !isSpace(html[at]) && html[at] != '=' && html[at] != '>')
            ++at;
        const std::string name = lowered(html.substr(nameStart, at - nameStart));
        while (at < html.size() && isSpace(html[at]))
            ++at;
        std::string value;
        if (at < html.size() && html[at] == '=') {
            ++at;
            while (at < html.size() && isSpace(html[at]))
                ++at;
            if (at < html.size() && (html[at] == '"' || html[at] == '\'')) {
                const std::size_t close = html.find(html[at], at + 1);
                const std::size_t end = close == std::string_view::npos ? html.size() : close;
                value = html.substr(at + 1, end - at - 1);
                at = end + 1;
            } else {
                const std::size_t valueStart = at;
                while (at < html.size() && !isSpace(html[at]) && html[at] != '>')
                    ++at;
                value = html.substr(valueStart, at - valueStart);
            }
        }
        attributes.emplace(name, decodeReferences(value));
    }
    return attributes;
}

bool hasToken(const std::string& list, std::string_view token)
{
    std::size_t at = 0;
    const std::string lower = lowered(list);
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
    if (lowered(content.substr(at, 3)) == "url") {
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
    while (!url.empty() && isSpace(url.back()))
        url.remove_suffix(1);
    if (url.empty())
        return std::nullopt;
    return std::string(url);
}

} // namespace

std::optional<std::string> HtmlTarget::find(std::string_view html)
{
    std::optional<std::string> canonical;
    const std::string lower = lowered(html);
    for (std::size_t at = lower.find('<'); at != std::string::npos; at = lower.find('<', at + 1)) {
        const bool meta = lower.compare(at + 1, 4, "meta") == 0 && at + 5 < lower.size() &&
                          (isSpace(lower[at + 5]) || lower[at + 5] == '/');
        const bool link = lower.compare(at + 1, 4, "link") == 0 && at + 5 < lower.size() &&
                          (isSpace(lower[at + 5]) || lower[at + 5] == '/');
        if (!meta && !link)
            continue;
        const Attributes attributes = readAttributes(html, at + 5);
        const auto get = [&](const char* name) {
            const auto found = attributes.find(name);
            return found == attributes.end() ? std::string() : found->second;
        };
        if (meta && lowered(get("http-equiv")) == "refresh") {
            if (std::optional<std::string> url = refreshUrl(get("content")))
                return url;
        } else if (link && !canonical && hasToken(get("rel"), "canonical") &&
                   !get("href").empty()) {
            canonical = get("href");
        }
    }
    return canonical;
}
