#include "PageCharset.h"

#include "TextCodec.h"

#include <algorithm>

namespace {

// The HTML standard's prescan looks at the first 1024 bytes; pages written
// by hand put a long comment first often enough to look further.
constexpr std::size_t PrescanLength = 4096;

char lower(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool isEightBitName(std::string_view name)
{
    static constexpr std::string_view Names[] = {
        "iso-8859-1",  "iso8859-1",  "latin1",   "latin-1", "windows-1252", "cp1252",
        "iso-8859-15", "iso8859-15", "us-ascii", "ascii",   "x-cp1252",     "l1",
    };
    return std::find(std::begin(Names), std::end(Names), name) != std::end(Names);
}

} // namespace

std::string PageCharset::declared(std::string_view text)
{
    std::string lowered(text.substr(0, PrescanLength));
    std::transform(lowered.begin(), lowered.end(), lowered.begin(), lower);
    const std::size_t at = lowered.find("charset");
    if (at == std::string::npos)
        return {};
    std::size_t start = at + 7;
    while (start < lowered.size() && (lowered[start] == ' ' || lowered[start] == '='))
        ++start;
    while (start < lowered.size() && (lowered[start] == '"' || lowered[start] == '\''))
        ++start;
    std::size_t end = start;
    while (end < lowered.size() && (std::isalnum(static_cast<unsigned char>(lowered[end])) ||
                                    lowered[end] == '-' || lowered[end] == '_'))
        ++end;
    return lowered.substr(start, end - start);
}

std::string PageCharset::toUtf8(std::string_view bytes, std::string_view contentType)
{
    std::string charset = declared(contentType);
    if (charset.empty())
        charset = declared(bytes);
    if (isEightBitName(charset))
        return TextCodec::toUtf8(bytes, TextCodec::Encoding::Windows1252);
    // Named UTF-8, another charset, or none: what the bytes are decides.
    return TextCodec::toUtf8(bytes, TextCodec::detect(bytes));
}
