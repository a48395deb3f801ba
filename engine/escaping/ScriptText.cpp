#include "ScriptText.h"

namespace {

bool needsEscape(unsigned char c)
{
    return c < 0x20 || c == 0x7F || c == '"' || c == '\'' || c == '`' || c == '\\' || c == '<' ||
           c == '>' || c == '&';
}

void appendUnicodeEscape(std::string& out, unsigned code)
{
    static constexpr char Hex[] = "0123456789ABCDEF";
    out += "\\u";
    for (int shift = 12; shift >= 0; shift -= 4)
        out += Hex[(code >> shift) & 0x0F];
}

// U+2028 and U+2029 in UTF-8: E2 80 A8 and E2 80 A9.
bool isLineTerminatorAt(std::string_view text, std::size_t at)
{
    return at + 2 < text.size() && static_cast<unsigned char>(text[at]) == 0xE2 &&
           static_cast<unsigned char>(text[at + 1]) == 0x80 &&
           (static_cast<unsigned char>(text[at + 2]) == 0xA8 ||
            static_cast<unsigned char>(text[at + 2]) == 0xA9);
}

} // namespace

std::string ScriptText::escaped(std::string_view utf8)
{
    std::string out;
    out.reserve(utf8.size() + utf8.size() / 4);
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        const auto c = static_cast<unsigned char>(utf8[i]);
        if (needsEscape(c)) {
            appendUnicodeEscape(out, c);
        } else if (isLineTerminatorAt(utf8, i)) {
            appendUnicodeEscape(out,
                                static_cast<unsigned char>(utf8[i + 2]) == 0xA8 ? 0x2028 : 0x2029);
            i += 2;
        } else {
            out += utf8[i];
        }
    }
    return out;
}
