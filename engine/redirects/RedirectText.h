#pragma once

#include <string>
#include <string_view>

// Escaping shared by the server rule writers. Paths are bytes below the
// output root, levels joined by "/"; they may hold any byte a file name can.
class RedirectText
{
public:
    // True when every byte of the path may stand in a URL path as it is and
    // needs no escaping in any server's pattern or target, so that one
    // pattern with a back-reference can redirect it.
    static bool isPlainPath(std::string_view path);
    // The characters isPlainPath accepts, as a regular-expression class.
    static constexpr const char* PlainClass = "[A-Za-z0-9._~/!()+,;=:@-]";

    // A URL for a Location header: characters a URL may carry stay, escapes
    // already present stay, every other byte becomes %XX. Bytes listed in
    // alsoEncode are encoded too (characters a server would expand).
    static std::string locationUrl(std::string_view url, std::string_view alsoEncode = {});
    // Every byte but the unreserved ones and "/" as %XX, as a browser sends
    // a path.
    static std::string encodedPath(std::string_view path);
    // Every ASCII character but letters, digits, "/", "_" and "-" as \xHH,
    // so that a regular expression matches the path literally and holds no
    // quote, space or backslash pair that a configuration parser could read.
    // Bytes from 0x80 stay as they are.
    static std::string literalPattern(std::string_view path);

    static void appendHex(std::string& out, unsigned char byte);

    // Where a server puts the visitor's query into a Location, so that it
    // arrives the same on every host: after the Location's own query and a
    // "&" (or after a "?" when it has none) and before its fragment. Before
    // ends in "?" or "&"; After is the fragment with its "#", or empty.
    struct QuerySplice
    {
        std::string Before;
        std::string After;
    };
    static QuerySplice querySplice(std::string_view location);
    // Whether a Location has a query or a fragment of its own, so that a
    // server cannot just append the visitor's query.
    static bool hasQueryOrFragment(std::string_view location);
};
