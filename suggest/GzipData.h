#pragma once

#include <optional>
#include <string>
#include <string_view>

// Sitemaps may be served as .xml.gz files, which no Content-Encoding header
// announces, so curl hands them over packed.
class GzipData
{
public:
    // Unpacked output stops here: a sitemap holds at most 50 MB.
    static constexpr std::size_t OutputLimit = 64 * 1024 * 1024;

    static bool isGzip(std::string_view bytes);
    // The unpacked bytes, or nothing when they are broken or too large.
    static std::optional<std::string> inflate(std::string_view bytes);
};
