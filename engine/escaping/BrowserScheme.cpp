#include "BrowserScheme.h"

#include "TextCodec.h"

#include <cstdint>

namespace {

struct NamedReference
{
    std::string_view Name;
    char Character;
};

// The named references for ASCII characters that can shape a scheme or
// hide it.
constexpr NamedReference AsciiReferences[] = {
    {"Tab", '\t'},   {"NewLine", '\n'}, {"colon", ':'},  {"amp", '&'},    {"AMP", '&'},
    {"lt", '<'},     {"LT", '<'},       {"gt", '>'},     {"GT", '>'},     {"quot", '"'},
    {"QUOT", '"'},   {"apos", '\''},    {"sol", '/'},    {"plus", '+'},   {"period", '.'},
    {"hyphen", '-'}, {"dash", '-'},     {"excl", '!'},   {"num", '#'},    {"percnt", '%'},
    {"lpar", '('},   {"rpar", ')'},     {"comma", ','},  {"semi", ';'},   {"equals", '='},
    {"quest", '?'},  {"commat", '@'},   {"bsol", '\\'},  {"lowbar", '_'}, {"grave", '`'},
    {"dollar", '$'}, {"ast", '*'},      {"midast", '*'}, {"Hat", '^'},    {"verbar", '|'},
};

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

bool isHexDigit(char c)
{
    return isDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

bool isAsciiLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

int hexValue(char c)
{
    if (isDigit(c))
        return c - '0';
    return (c | 0x20) - 'a' + 10;
}

// A numeric reference at text[at] ("&#..."): its code point and length, or
// length 0.
std::size_t numericReference(std::string_view text, std::size_t at, char32_t& codePoint)
{
    std::size_t i = at + 2;
    const bool hex = i < text.size() && (text[i] == 'x' || text[i] == 'X');
    i += hex;
    const std::size_t digits = i;
    std::uint32_t value = 0;
    while (i < text.size() && (hex ? isHexDigit(text[i]) : isDigit(text[i]))) {
        value = value > 0x10FFFF ? value : value * (hex ? 16 : 10) + hexValue(text[i]);
        ++i;
    }
    if (i == digits)
        return 0;
    if (i < text.size() && text[i] == ';')
        ++i;
    codePoint = (value == 0 || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF))
                    ? char32_t(0xFFFD)
                    : char32_t(value);
    return i - at;
}

std::size_t namedReference(std::string_view text, std::size_t at, char& character)
{
    for (const NamedReference& reference : AsciiReferences) {
        if (text.substr(at + 1, reference.Name.size()) != reference.Name)
            continue;
        std::size_t length = 1 + reference.Name.size();
        if (at + length < text.size() && text[at + length] == ';')
            ++length;
        character = reference.Character;
        return length;
    }
    return 0;
}

bool isSchemeCharacter(char c)
{
    return isAsciiLetter(c) || isDigit(c) || c == '+' || c == '-' || c == '.';
}

} // namespace

std::string BrowserScheme::withReferencesDecoded(std::string_view text)
{
    std::string decoded;
    decoded.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        char32_t codePoint = 0;
        char character = 0;
        std::size_t length = 0;
        if (text[i] == '&' && i + 1 < text.size() && text[i + 1] == '#') {
            length = numericReference(text, i, codePoint);
            if (length > 0)
                TextCodec::appendUtf8(decoded, codePoint);
        } else if (text[i] == '&') {
            length = namedReference(text, i, character);
            if (length > 0)
                decoded += character;
        }
        if (length == 0) {
            decoded += text[i];
            length = 1;
        }
        i += length;
    }
    return decoded;
}

std::string BrowserScheme::schemeOf(std::string_view urlText)
{
    std::size_t start = 0;
    while (start < urlText.size() && static_cast<unsigned char>(urlText[start]) <= 0x20)
        ++start;
    std::string scheme;
    for (std::size_t i = start; i < urlText.size(); ++i) {
        const char c = urlText[i];
        if (c == '\t' || c == '\n' || c == '\r')
            continue;
        if (c == ':')
            return scheme.empty() || !isAsciiLetter(scheme.front()) ? std::string() : scheme;
        if (!isSchemeCharacter(c))
            return {};
        scheme += static_cast<char>(isAsciiLetter(c) ? (c | 0x20) : c);
    }
    return {};
}

std::string BrowserScheme::scriptSchemeOf(std::string_view urlText)
{
    for (const std::string& text : {std::string(urlText), withReferencesDecoded(urlText)}) {
        const std::string scheme = schemeOf(text);
        if (scheme == "javascript" || scheme == "data" || scheme == "vbscript")
            return scheme + ":";
    }
    return {};
}
