#pragma once

#include <string>
#include <string_view>

// The address a replacement page sends its visitors to.
class PageUrl
{
public:
    // The URL text, and with appendPath the relative folder (separators
    // turned into "/"), a "/" and the file name. Nothing is added between the
    // URL and the folder, which brings its own leading separator. In the
    // appended part, every ASCII character a URL cannot carry as it is
    // (quotes, angle brackets, "^", braces, ...) and control characters are
    // percent-encoded, as in every server rule, and so are "#", "?", "%" and
    // "&", so that every name stays a path. The result is UTF-8.
    static std::string build(std::string_view urlText, std::string_view relativeFolder,
                             std::string_view fileName, bool appendPath);

    // Why the URL text cannot go into a page, or the empty text when it can:
    // a control character is no part of an address; a script scheme, as the
    // browser reads it, would run instead of redirecting. Any other text is
    // escaped where the page holds it.
    static std::string refusalFor(std::string_view urlText);

    // A path with the platform's separators turned into "/".
    static std::string toUrlPath(std::string_view path);
};
