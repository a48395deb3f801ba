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
    // appended part, quotes, angle brackets, backslashes and control
    // characters are percent-encoded, so that no file name can break out of
    // the attribute or script the URL lands in, and so are "#", "?", "%" and
    // "&", so that every name stays a path. The result is UTF-8.
    static std::string build(std::string_view urlText, std::string_view relativeFolder,
                             std::string_view fileName, bool appendPath);

    // Why the URL text cannot go into a page, or the empty text when it can:
    // a quote, an angle bracket or a control character would break every
    // page; a script scheme would run instead of redirecting.
    static std::string refusalFor(std::string_view urlText);

    // A path with the platform's separators turned into "/".
    static std::string toUrlPath(std::string_view path);
};
