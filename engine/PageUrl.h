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
    // the attribute or script the URL lands in. The result is UTF-8.
    static std::string build(std::string_view urlText, std::string_view relativeFolder,
                             std::string_view fileName, bool appendPath);

    // A path with the platform's separators turned into "/".
    static std::string toUrlPath(std::string_view path);
};
