#pragma once

#include <string>
#include <string_view>

// URLs as a browser puts them on the wire, and when two of them name the same
// address.
class BrowserUrl
{
public:
    // The old address of a page: the old site's URL, "/" and the page's path
    // below the directory (levels joined by "/"), each byte that may not stand
    // in a path segment percent-encoded, "%", "?" and "#" included, since
    // they belong to the file name.
    static std::string join(std::string_view siteUrl, std::string_view relativePath);

    // A URL as typed or found in a page, with spaces, non-ASCII bytes and the
    // other characters a URL may not hold percent-encoded; a "%" that starts
    // no escape becomes "%25". Characters with a meaning in URLs stay.
    static std::string encode(std::string_view url);

    // A reference found in a page or a Location header, resolved against the
    // address it came from (RFC 3986, section 5.2).
    static std::string resolve(std::string_view base, std::string_view reference);

    // Whether both name the same resource: scheme and host compared without
    // letter case, default ports and fragments dropped, escapes of unreserved
    // characters and the letter case of hex digits disregarded.
    static bool sameAddress(std::string_view a, std::string_view b);

    // The form sameAddress compares.
    static std::string normalized(std::string_view url);
};
