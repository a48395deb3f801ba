#include "HtaccessRules.h"

#include <cstring>

namespace {

constexpr char Hex[] = "0123456789ABCDEF";

bool isHexDigit(char c)
{
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
}

// Characters a URL may carry as they are (RFC 3986, reserved and unreserved).
bool isUrlCharacter(unsigned char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
           (c != 0 && std::strchr("-._~:/?#[]@!$&'()*+,;=", c) != nullptr);
}

bool startsPercentEscape(std::string_view url, std::size_t at)
{
    return url[at] == '%' && at + 2 < url.size() && isHexDigit(url[at + 1]) &&
           isHexDigit(url[at + 2]);
}

} // namespace

void HtaccessRules::add(std::string_view relativePath, std::string_view pageUrl)
{
    m_rules +=
        "RewriteRule \"" + pattern(relativePath) + "\" \"" + target(pageUrl) + "\" [R=301,L,NE]\n";
}

std::string HtaccessRules::text() const
{
    return "# Von Kelvane geschrieben: leitet jede alte Seite dauerhaft (301) an ihre neue\n"
           "# Adresse weiter. Ohne mod_rewrite leiten die Seiten selbst weiter.\n"
           "<IfModule mod_rewrite.c>\n"
           "RewriteEngine On\n" +
           m_rules + "</IfModule>\n";
}

std::string HtaccessRules::pattern(std::string_view relativePath)
{
    std::string pattern = "^";
    for (const char c : relativePath) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F) {
            // Written as an escape, so that no name can break the line.
            pattern += "\\x";
            pattern += Hex[byte >> 4];
            pattern += Hex[byte & 0x0F];
        } else if (std::strchr("\\.^$|?*+()[]{}\"", c) != nullptr) {
            pattern += '\\';
            pattern += c;
        } else {
            pattern += c;
        }
    }
    return pattern + "$";
}

std::string HtaccessRules::target(std::string_view pageUrl)
{
    std::string target;
    for (std::size_t i = 0; i < pageUrl.size(); ++i) {
        const auto byte = static_cast<unsigned char>(pageUrl[i]);
        if (byte == '%' && startsPercentEscape(pageUrl, i)) {
            target += "\\%";
        } else if (byte == '$') {
            target += "\\$";
        } else if (isUrlCharacter(byte)) {
            target += static_cast<char>(byte);
        } else {
            target += "\\%";
            target += Hex[byte >> 4];
            target += Hex[byte & 0x0F];
        }
    }
    return target;
}
