#include "TextCodec.h"

#include <array>
#include <cstdint>

namespace {

// Windows-1252 bytes 0x80 to 0x9F. The five bytes the code page leaves
// undefined map to the C1 control of the same number, so that every byte
// round-trips.
constexpr std::array<char32_t, 32> HighControlRange = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

char32_t windows1252ToCodePoint(unsigned char byte)
{
    if (byte >= 0x80 && byte <= 0x9F)
        return HighControlRange[byte - 0x80];
    return byte;
}

// The byte for a code point, or -1 when Windows-1252 has none.
int codePointToWindows1252(char32_t codePoint)
{
    if (codePoint < 0x80 || (codePoint >= 0xA0 && codePoint <= 0xFF))
        return static_cast<int>(codePoint);
    for (std::size_t i = 0; i < HighControlRange.size(); ++i) {
        if (HighControlRange[i] == codePoint)
            return static_cast<int>(0x80 + i);
    }
    return -1;
}

void appendPercentEncoded(std::string& out, std::string_view bytes)
{
    static constexpr char Hex[] = "0123456789ABCDEF";
    for (unsigned char byte : bytes) {
        out += '%';
        out += Hex[byte >> 4];
        out += Hex[byte & 0x0F];
    }
}

// Length of the well-formed UTF-8 sequence at the start of text, or 0 when
// it does not start with one (overlong forms and surrogates included).
std::size_t utf8SequenceLength(std::string_view text, char32_t& codePoint)
{
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const auto isContinuation = [&](std::size_t i) {
        return i < text.size() && (byte(i) & 0xC0) == 0x80;
    };
    const unsigned char lead = byte(0);
    if (lead < 0x80) {
        codePoint = lead;
        return 1;
    }
    std::size_t length = 0;
    char32_t minimum = 0;
    if ((lead & 0xE0) == 0xC0) {
        length = 2, minimum = 0x80, codePoint = lead & 0x1F;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3, minimum = 0x800, codePoint = lead & 0x0F;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4, minimum = 0x10000, codePoint = lead & 0x07;
    } else {
        return 0;
    }
    for (std::size_t i = 1; i < length; ++i) {
        if (!isContinuation(i))
            return 0;
        codePoint = (codePoint << 6) | (byte(i) & 0x3F);
    }
    const bool surrogate = codePoint >= 0xD800 && codePoint <= 0xDFFF;
    if (codePoint < minimum || codePoint > 0x10FFFF || surrogate)
        return 0;
    return length;
}

} // namespace

bool TextCodec::isValidUtf8(std::string_view bytes)
{
    char32_t codePoint = 0;
    while (!bytes.empty()) {
        const std::size_t length = utf8SequenceLength(bytes, codePoint);
        if (length == 0)
            return false;
        bytes.remove_prefix(length);
    }
    return true;
}

std::string TextCodec::visible(std::string_view bytes)
{
    constexpr std::string_view Hex = "0123456789ABCDEF";
    std::string text;
    text.reserve(bytes.size());
    char32_t codePoint = 0;
    while (!bytes.empty()) {
        std::size_t length = utf8SequenceLength(bytes, codePoint);
        if (length == 0) {
            const auto byte = static_cast<unsigned char>(bytes.front());
            text.append("\\x").append(1, Hex[byte >> 4]).append(1, Hex[byte & 0x0F]);
            length = 1;
        } else {
            text.append(bytes.substr(0, length));
        }
        bytes.remove_prefix(length);
    }
    return text;
}

TextCodec::Encoding TextCodec::detect(std::string_view bytes)
{
    return isValidUtf8(bytes) ? Encoding::Utf8 : Encoding::Windows1252;
}

std::string TextCodec::toUtf8(std::string_view bytes, Encoding encoding)
{
    if (encoding == Encoding::Utf8)
        return std::string(bytes);
    std::string text;
    text.reserve(bytes.size() + bytes.size() / 8);
    for (unsigned char byte : bytes)
        appendUtf8(text, windows1252ToCodePoint(byte));
    return text;
}

std::string TextCodec::fromUtf8(std::string_view utf8, Encoding encoding, Unencodable policy)
{
    std::string out;
    out.reserve(utf8.size());
    char32_t codePoint = 0;
    while (!utf8.empty()) {
        const std::size_t length = utf8SequenceLength(utf8, codePoint);
        if (length == 0) {
            // A stray byte: a URL gets it escaped, text gets it as it is.
            if (policy == Unencodable::PercentEncode)
                appendPercentEncoded(out, utf8.substr(0, 1));
            else
                out += utf8.front();
            utf8.remove_prefix(1);
            continue;
        }
        const std::string_view sequence = utf8.substr(0, length);
        utf8.remove_prefix(length);
        if (encoding == Encoding::Utf8) {
            out += sequence;
            continue;
        }
        const int byte = codePointToWindows1252(codePoint);
        if (byte >= 0)
            out += static_cast<char>(byte);
        else if (policy == Unencodable::PercentEncode)
            appendPercentEncoded(out, sequence);
        else
            out += "&#" + std::to_string(static_cast<std::uint32_t>(codePoint)) + ';';
    }
    return out;
}

void TextCodec::appendUtf8(std::string& out, char32_t cp)
{
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}
