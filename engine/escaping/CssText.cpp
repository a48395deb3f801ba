#include "CssText.h"

namespace {

// What a URL holds and no style sheet reads as more than itself: neither a
// quote, a parenthesis, a backslash, white space nor "<".
bool passesAsItIs(unsigned char c)
{
    if (c >= 0x80 || (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'))
        return true;
    static constexpr std::string_view Punctuation = "-._~:/?#[]@!$&*+,;=%";
    return Punctuation.find(static_cast<char>(c)) != std::string_view::npos;
}

} // namespace

std::string CssText::escaped(std::string_view utf8)
{
    static constexpr char Hex[] = "0123456789ABCDEF";
    std::string text;
    text.reserve(utf8.size());
    for (const char c : utf8) {
        const auto byte = static_cast<unsigned char>(c);
        if (passesAsItIs(byte)) {
            text += c;
            continue;
        }
        // The space ends the escape, so a hex digit after it stays a letter.
        text += '\\';
        if (byte >= 0x10)
            text += Hex[byte >> 4];
        text += Hex[byte & 0x0F];
        text += ' ';
    }
    return text;
}
