#include "TemplateCharset.h"

#include <algorithm>
#include <string>

namespace {

constexpr std::string_view Utf8Labels[] = {"utf-8",         "utf8",          "unicode-1-1-utf-8",
                                           "unicode11utf8", "unicode20utf8", "x-unicode20utf8"};
constexpr std::string_view Windows1252Labels[] = {
    "windows-1252", "x-cp1252",      "cp1252",          "iso-8859-1", "iso8859-1",
    "iso88591",     "iso_8859-1",    "iso_8859-1:1987", "iso-ir-100", "latin1",
    "l1",           "csisolatin1",   "ibm819",          "cp819",      "us-ascii",
    "ascii",        "ansi_x3.4-1968"};

std::string lowerAscii(std::string_view text)
{
    std::string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c | 0x20) : c; });
    return lower;
}

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f';
}

// The label after "charset" in a meta tag's text, or the empty text.
std::string charsetLabel(std::string_view tag)
{
    const std::size_t name = tag.find("charset");
    if (name == std::string_view::npos)
        return {};
    std::size_t i = name + 7;
    while (i < tag.size() && isBlank(tag[i]))
        ++i;
    if (i == tag.size() || tag[i] != '=')
        return {};
    ++i;
    while (i < tag.size() && (isBlank(tag[i]) || tag[i] == '"' || tag[i] == '\''))
        ++i;
    const std::size_t end = tag.find_first_of("\"'; \t\n\r\f>/", i);
    return std::string(tag.substr(i, end == std::string_view::npos ? end : end - i));
}

std::optional<TextCodec::Encoding> encodingOf(const std::string& label)
{
    if (std::find(std::begin(Utf8Labels), std::end(Utf8Labels), label) != std::end(Utf8Labels))
        return TextCodec::Encoding::Utf8;
    if (std::find(std::begin(Windows1252Labels), std::end(Windows1252Labels), label) !=
        std::end(Windows1252Labels))
        return TextCodec::Encoding::Windows1252;
    return std::nullopt;
}

} // namespace

std::optional<TextCodec::Encoding> TemplateCharset::declared(std::string_view templateBytes)
{
    const std::string text = lowerAscii(templateBytes);
    const std::size_t bodyStart = text.find("<body");
    std::size_t at = 0;
    while (at < text.size() && at < bodyStart) {
        if (text.compare(at, 4, "<!--") == 0) {
            const std::size_t end = text.find("-->", at + 4);
            if (end == std::string::npos)
                break;
            at = end + 3;
        } else if (text.compare(at, 5, "<meta") == 0 && at + 5 < text.size() &&
                   (isBlank(text[at + 5]) || text[at + 5] == '/')) {
            const std::size_t end = std::min(text.find('>', at), text.size());
            const std::string label = charsetLabel(std::string_view(text).substr(at, end - at));
            if (!label.empty())
                return encodingOf(label);
            at = end;
        } else {
            ++at;
        }
    }
    return std::nullopt;
}

TextCodec::Encoding TemplateCharset::of(std::string_view templateBytes)
{
    return declared(templateBytes).value_or(TextCodec::detect(templateBytes));
}
