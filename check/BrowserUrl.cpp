#include "BrowserUrl.h"

#include "AsciiCase.h"

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
        const std::string scheme = asciiLowered(rest.substr(0, schemeEnd));
        rest.remove_prefix(schemeEnd + 3);
        const std::size_t hostEnd = std::min(rest.find_first_of("/?"), rest.size());
        std::string host = asciiLowered(rest.substr(0, hostEnd));
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

std::string BrowserUrl::scheme(std::string_view url)
{
    const std::size_t colon = url.find(':');
    if (colon == 0 || colon == std::string_view::npos ||
        !std::isalpha(static_cast<unsigned char>(url[0])))
        return {};
    for (const char c : url.substr(0, colon)) {
        if (!std::isalnum(static_cast<unsigned char>(c)) && c != '+' && c != '-' && c != '.')
            return {};
    }
    return asciiLowered(url.substr(0, colon));
}

bool BrowserUrl::isWebAddress(std::string_view url)
{
    const std::string name = scheme(url);
    return name == "http" || name == "https";
}

bool BrowserUrl::sameAddress(std::string_view a, std::string_view b)
{
    return normalized(a) == normalized(b);
}

std::string BrowserUrl::origin(std::string_view url)
{
    const std::size_t schemeEnd = url.find("://");
    if (schemeEnd == std::string_view::npos)
        return {};
    const std::size_t hostEnd = url.find_first_of("/?#", schemeEnd + 3);
    return std::string(url.substr(0, hostEnd));
}

std::string BrowserUrl::pathAndQuery(std::string_view url)
{
    const std::string start = origin(url);
    std::string_view rest = url.substr(start.size());
    rest = rest.substr(0, rest.find('#'));
    if (rest.empty() || rest.front() != '/')
        return "/" + std::string(rest);
    return std::string(rest);
}

namespace {

// www.example.com and example.com, or none for 127.0.0.1, [::1], localhost.
std::string otherHostName(std::string_view host)
{
    const std::string lower = asciiLowered(host);
    if (lower.rfind("www.", 0) == 0)
        return std::string(host.substr(4));
    const bool address =
        !lower.empty() &&
        (lower.front() == '[' || lower.find_first_not_of("0123456789.") == std::string::npos);
    if (address || lower.find('.') == std::string::npos)
        return {};
    return "www." + std::string(host);
}

} // namespace

std::vector<std::string> BrowserUrl::hostVariants(std::string_view homeUrl)
{
    const std::string givenScheme = scheme(homeUrl);
    const std::string start = origin(homeUrl);
    if (start.empty() || !isWebAddress(homeUrl))
        return {std::string(homeUrl)};
    const std::string_view rest = homeUrl.substr(start.size());
    const std::string_view authority = std::string_view(start).substr(givenScheme.size() + 3);
    const std::size_t portStart =
        authority.find(':', authority.front() == '[' ? authority.find(']') : 0);
    const std::string_view host = authority.substr(0, portStart);
    const std::string_view port =
        portStart == std::string_view::npos ? std::string_view() : authority.substr(portStart);

    const std::string otherScheme = givenScheme == "http" ? "https" : "http";
    std::vector<std::string> hosts = {std::string(host)};
    if (const std::string other = otherHostName(host); !other.empty())
        hosts.push_back(other);
    // One port cannot serve both http and https.
    std::vector<std::string> schemes = {givenScheme};
    if (port.empty())
        schemes.push_back(otherScheme);
    std::vector<std::string> variants;
    for (const std::string& variantScheme : schemes) {
        for (const std::string& variantHost : hosts)
            variants.push_back(variantScheme + "://" + variantHost + std::string(port) +
                               std::string(rest));
    }
    return variants;
}
