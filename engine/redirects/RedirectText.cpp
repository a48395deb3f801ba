#include "RedirectText.h"

#include <cstring>

namespace {

constexpr char Hex[] = "0123456789ABCDEF";

bool isLetterOrDigit(unsigned char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

bool isOneOf(unsigned char c, const char* set)
{
    return c != 0 && std::strchr(set, c) != nullptr;
}

bool isHexDigit(char c)
{
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
}

bool startsPercentEscape(std::string_view url, std::size_t at)
{
    return url[at] == '%' && at + 2 < url.size() && isHexDigit(url[at + 1]) &&
           isHexDigit(url[at + 2]);
}

} // namespace

bool RedirectText::isPlainPath(std::string_view path)
{
    for (const char c : path) {
        const auto byte = static_cast<unsigned char>(c);
        if (!isLetterOrDigit(byte) && !isOneOf(byte, "._~/!()+,;=:@-"))
            return false;
    }
    return true;
}

void RedirectText::appendHex(std::string& out, unsigned char byte)
{
    out += Hex[byte >> 4];
    out += Hex[byte & 0x0F];
}

std::string RedirectText::locationUrl(std::string_view url, std::string_view alsoEncode)
{
    std::string location;
    for (std::size_t i = 0; i < url.size(); ++i) {
        const auto byte = static_cast<unsigned char>(url[i]);
        const bool urlCharacter = isLetterOrDigit(byte) ||
                                  isOneOf(byte, "-._~:/?#[]@!$&'()*+,;=") ||
                                  (byte == '%' && startsPercentEscape(url, i));
        if (urlCharacter && alsoEncode.find(static_cast<char>(byte)) == std::string_view::npos) {
            location += static_cast<char>(byte);
        } else {
            location += '%';
            appendHex(location, byte);
        }
    }
    return location;
}

std::string RedirectText::encodedPath(std::string_view path)
{
    std::string encoded;
    for (const char c : path) {
        const auto byte = static_cast<unsigned char>(c);
        if (isLetterOrDigit(byte) || isOneOf(byte, "-._~/")) {
            encoded += c;
        } else {
            encoded += '%';
            appendHex(encoded, byte);
        }
    }
    return encoded;
}

std::string RedirectText::literalPattern(std::string_view path)
{
    std::string pattern;
    for (const char c : path) {
        const auto byte = static_cast<unsigned char>(c);
        if (isLetterOrDigit(byte) || byte >= 0x80 || isOneOf(byte, "/_-")) {
            pattern += c;
        } else {
            pattern += "\\x";
            appendHex(pattern, byte);
        }
    }
    return pattern;
}

RedirectText::QuerySplice RedirectText::querySplice(std::string_view location)
{
    const std::size_t hash = location.find('#');
    const std::string_view beforeFragment = location.substr(0, hash);
    QuerySplice splice{std::string(beforeFragment), std::string()};
    if (hash != std::string_view::npos)
        splice.After = std::string(location.substr(hash));
    const std::size_t question = beforeFragment.find('?');
    if (question == std::string_view::npos)
        splice.Before += '?';
    else if (question + 1 < beforeFragment.size())
        splice.Before += '&';
    return splice;
}

bool RedirectText::hasQueryOrFragment(std::string_view location)
{
    return location.find_first_of("?#") != std::string_view::npos;
}
