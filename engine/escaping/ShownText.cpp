#include "ShownText.h"

#include "TextCodec.h"

#include <algorithm>

namespace {

constexpr char Hex[] = "0123456789ABCDEF";

void appendByteEscape(std::string& out, unsigned char byte)
{
    switch (byte) {
    case '\n':
        out += "\\n";
        return;
    case '\r':
        out += "\\r";
        return;
    case '\t':
        out += "\\t";
        return;
    default:
        out += "\\x";
        out += Hex[byte >> 4];
        out += Hex[byte & 0x0F];
    }
}

// The length of the UTF-8 sequence at text[at] when it is well formed, else 0.
std::size_t sequenceLength(std::string_view text, std::size_t at)
{
    for (std::size_t length = 2; length <= 4 && at + length <= text.size(); ++length) {
        if (TextCodec::isValidUtf8(text.substr(at, length)))
            return length;
    }
    return 0;
}

} // namespace

std::string ShownText::visible(std::string_view text, bool keepLineBreaks)
{
    // Most texts are printable ASCII: one copy, no look at each character.
    const auto plain = [](char c) { return c >= 0x20 && c < 0x7F; };
    if (std::all_of(text.begin(), text.end(), plain))
        return std::string(text);
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (keepLineBreaks && byte == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
            out += "\r\n";
            ++i;
        } else if (byte < 0x20 || byte == 0x7F) {
            appendByteEscape(out, byte);
        } else if (byte < 0x80) {
            out += text[i];
        } else if (const std::size_t length = sequenceLength(text, i); length == 0) {
            appendByteEscape(out, byte);
        } else if (byte == 0xC2 && static_cast<unsigned char>(text[i + 1]) < 0xA0) {
            // U+0080 to U+009F: the C1 controls, CSI among them.
            out += "\\u00";
            out += Hex[static_cast<unsigned char>(text[i + 1]) >> 4];
            out += Hex[static_cast<unsigned char>(text[i + 1]) & 0x0F];
            ++i;
        } else {
            out += text.substr(i, length);
            i += length - 1;
        }
    }
    return out;
}
