#pragma once

#include <string>
#include <string_view>
#include <vector>

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
    // address it came from (RFC 3986, section 5.2), read as a browser reads
    // it and encoded as by encode().
    // A reference that cannot be resolved comes back as it is. Built only
    // with libcurl.
    static std::string resolve(std::string_view base, std::string_view reference);

    // The scheme in lower case ("http", "javascript"); empty for a reference
    // without one.
    static std::string scheme(std::string_view url);
    // An http: or https: URL, the only ones the check can follow.
    static bool isWebAddress(std::string_view url);

    // "scheme://host:port" of a web address, as written.
    static std::string origin(std::string_view url);
    // What follows the origin up to any fragment, at least "/".
    static std::string pathAndQuery(std::string_view url);

    // The homepage on every host name a visitor may type for it: the given
    // URL first, then with "www." added or taken away (not for an IP address
    // or a name without a dot), and with the other of http and https (not
    // with a port given, which serves only one of them).
    static std::vector<std::string> hostVariants(std::string_view homeUrl);

    // Whether both name the same resource: scheme and host compared without
    // letter case, default ports and fragments dropped, escapes of unreserved
    // characters and the letter case of hex digits disregarded.
    static bool sameAddress(std::string_view a, std::string_view b);

    // The form sameAddress compares.
    static std::string normalized(std::string_view url);
};
