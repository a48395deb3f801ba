#include "BrowserUrl.h"

#include <algorithm>
#include <cctype>
#include <cstring>

namespace {

constexpr char Hex[] = "0123456789ABCDEF";

bool isUnreserved(unsigned char c)
{
    return std::isalnum(c) || c == '-' || c == '.' || c == '_' || c == '~';
}

bool isHexDigit(char c)
{
    return std::isxdigit(static_cast<unsigned char>(c)) != 0;
}

int hexValue(char c)
{
    return c <= '9' ? c - '0' : (std::toupper(static_cast<unsigned char>(c)) - 'A' + 10);
}

bool startsEscape(std::string_view text, std::size_t at)
{
    return text[at] == '%' && at + 2 < text.size() && isHexDigit(text[at + 1]) &&
           isHexDigit(text[at + 2]);
}

void appendEscape(std::string& out, unsigned char c)
{
    out += '%';
    out += Hex[c >> 4];
    out += Hex[c & 0x0F];
}

std::string lowered(std::string_view text)
{
    std::string out(text);
    for (char& c : out)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

bool hasScheme(std::string_view url)
{
    const std::size_t colon = url.find(':');
    if (colon == 0 || colon == std::string_view::npos ||
        !std::isalpha(static_cast<unsigned char>(url[0])))
        return false;
    for (const char c : url.substr(0, colon)) {
        if (!std::isalnum(static_cast<unsigned char>(c)) && c != '+' && c != '-' && c != '.')
            return false;
    }
    return true;
}

// "a/b/../c/./d" becomes "a/c/d".
std::string withoutDotSegments(std::string_view path)
{
    std::string out;
    while (!path.empty()) {
        if (path.substr(0, 3) == "../" || path.substr(0, 2) == "./") {
            path.remove_prefix(path[0] == '.' && path[1] == '.' ? 3 : 2);
        } else if (path.substr(0, 3) == "/./" || path == "/.") {
            path = path.size() == 2 ? std::string_view("/") : path.substr(2);
        } else if (path.substr(0, 4) == "/../" || path == "/..") {
            path = path.size() == 3 ? std::string_view("/") : path.substr(3);
            out.resize(
                std::min(out.size(), out.rfind('/') == std::string::npos ? 0 : out.rfind('/')));
        } else if (path == "." || path == "..") {
            path = {};
        } else {
            const std::size_t next = path.find('/', 1);
            const std::size_t length = next == std::string_view::npos ? path.size() : next;
            out += path.substr(0, length);
            path.remove_prefix(length);
        }
    }
    return out;
}

} // namespace

std::string BrowserUrl::join(std::string_view siteUrl, std::string_view relativePath)
{
    std::string url(siteUrl);
    if (url.empty() || url.back() != '/')
        url += '/';
    for (const char c : relativePath) {
        const auto byte = static_cast<unsigned char>(c);
        if (isUnreserved(byte) || (byte != 0 && std::strchr("/!$&'()*+,;=:@", byte)))
            url += c;
        else
            appendEscape(url, byte);
    }
    return url;
}

std::string BrowserUrl::encode(std::string_view url)
{
    std::string out;
    for (std::size_t i = 0; i < url.size(); ++i) {
        const auto byte = static_cast<unsigned char>(url[i]);
        if (byte == '%' && !startsEscape(url, i))
            appendEscape(out, byte);
        else if (byte <= 0x20 || byte >= 0x7F || std::strchr("\"<>\\^`{|}", byte))
            appendEscape(out, byte);
        else
            out += url[i];
    }
    return out;
}

std::string BrowserUrl::normalized(std::string_view url)
{
    const std::string encoded = encode(url.substr(0, url.find('#')));
    std::string_view rest = encoded;
    std::string out;
    const std::size_t schemeEnd = rest.find("://");
    if (schemeEnd != std::string_view::npos) {
        const std::string scheme = lowered(rest.substr(0, schemeEnd));
        rest.remove_prefix(schemeEnd + 3);
        const std::size_t hostEnd = std::min(rest.find_first_of("/?"), rest.size());
        std::string host = lowered(rest.substr(0, hostEnd));
        rest.remove_prefix(hostEnd);
        const std::string defaultPort = scheme == "https" ? ":443" : ":80";
        if (host.size() > defaultPort.size() &&
            host.compare(host.size() - defaultPort.size(), defaultPort.size(), defaultPort) == 0)
            host.resize(host.size() - defaultPort.size());
        out = scheme + "://" + host;
        if (rest.empty())
            rest = "/";
    }
    for (std::size_t i = 0; i < rest.size(); ++i) {
        if (!startsEscape(rest, i)) {
            out += rest[i];
            continue;
        }
        const auto byte =
            static_cast<unsigned char>(hexValue(rest[i + 1]) * 16 + hexValue(rest[i + 2]));
        if (isUnreserved(byte))
            out += static_cast<char>(byte);
        else
            appendEscape(out, byte);
        i += 2;
    }
    return out;
}

std::string BrowserUrl::resolve(std::string_view base, std::string_view reference)
{
    if (hasScheme(reference))
        return std::string(reference);
    const std::size_t schemeEnd = base.find("://");
    if (schemeEnd == std::string_view::npos)
        return std::string(reference);
    if (reference.substr(0, 2) == "//")
        return std::string(base.substr(0, schemeEnd + 1)) + std::string(reference);

    const std::size_t pathStart = std::min(base.find_first_of("/?#", schemeEnd + 3), base.size());
    const std::string_view authority = base.substr(0, pathStart);
    const std::string_view baseRest = base.substr(pathStart);
    const std::string_view basePathAndQuery = baseRest.substr(0, baseRest.find('#'));
    const std::string_view basePath = basePathAndQuery.substr(0, basePathAndQuery.find('?'));
    if (reference.empty())
        return std::string(authority) + std::string(basePathAndQuery);
    if (reference[0] == '#')
        return std::string(authority) + std::string(basePathAndQuery) + std::string(reference);
    if (reference[0] == '?')
        return std::string(authority) + std::string(basePath) + std::string(reference);

    const std::size_t referenceEnd = std::min(reference.find_first_of("?#"), reference.size());
    std::string path(reference.substr(0, referenceEnd));
    if (path.empty() || path[0] != '/') {
        const std::size_t lastSlash = basePath.rfind('/');
        path =
            (lastSlash == std::string_view::npos ? std::string("/")
                                                 : std::string(basePath.substr(0, lastSlash + 1))) +
            path;
    }
    return std::string(authority) + withoutDotSegments(path) +
           std::string(reference.substr(referenceEnd));
}

bool BrowserUrl::sameAddress(std::string_view a, std::string_view b)
{
    return normalized(a) == normalized(b);
}
