#include "TextFolding.h"

#include <array>
#include <cstdint>

namespace {

// Latin-1 letters U+00C0 to U+00FF as folded text; empty for × and ÷.
constexpr std::array<std::string_view, 64> Latin1Letters = {
    "a", "a", "a", "a", "ae", "a", "ae", "c", "e", "e", "e", "e", "i",  "i", "i",  "i",
    "d", "n", "o", "o", "o",  "o", "oe", "",  "o", "u", "u", "u", "ue", "y", "th", "ss",
    "a", "a", "a", "a", "ae", "a", "ae", "c", "e", "e", "e", "e", "i",  "i", "i",  "i",
    "d", "n", "o", "o", "o",  "o", "oe", "",  "o", "u", "u", "u", "ue", "y", "th", "y",
};

// Reads one code point; a byte that starts no valid sequence counts as one
// character of its own, so that broken text still splits.
char32_t nextCodePoint(std::string_view text, std::size_t& at)
{
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(at);
    std::size_t length = lead < 0x80    ? 1
                         : lead >= 0xF0 ? 4
                         : lead >= 0xE0 ? 3
                         : lead >= 0xC2 ? 2
                                        : 0;
    if (length == 0 || at + length > text.size()) {
        ++at;
        return 0xFFFD;
    }
    char32_t codePoint = length == 1 ? lead : lead & (0x7F >> length);
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(at + i) & 0xC0) != 0x80) {
            ++at;
            return 0xFFFD;
        }
        codePoint = (codePoint << 6) | (byte(at + i) & 0x3F);
    }
    at += length;
    return codePoint;
}

// Letters beyond Latin-1 are kept as they are: without a Unicode table their
// case cannot be folded, but they still make words.
bool isWordCharacterBeyondLatin1(char32_t codePoint)
{
    if (codePoint < 0x100 || codePoint == 0xFFFD)
        return false;
    const bool punctuation = (codePoint >= 0x2000 && codePoint <= 0x2BFF) ||
                             (codePoint >= 0x3000 && codePoint <= 0x303F) ||
                             (codePoint >= 0xFE30 && codePoint <= 0xFE4F);
    return !punctuation;
}

void appendFolded(std::string& word, char32_t codePoint, std::string_view original)
{
    if (codePoint < 0x80) {
        const char c = static_cast<char>(codePoint);
        word += (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    } else if (codePoint >= 0xC0 && codePoint <= 0xFF) {
        word += Latin1Letters[codePoint - 0xC0];
    } else {
        word += original;
    }
}

bool isWordCharacter(char32_t codePoint)
{
    if (codePoint < 0x80) {
        const char c = static_cast<char>(codePoint);
        return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
    }
    if (codePoint >= 0xC0 && codePoint <= 0xFF)
        return codePoint != 0xD7 && codePoint != 0xF7;
    return isWordCharacterBeyondLatin1(codePoint);
}

} // namespace

std::vector<std::string> TextFolding::words(std::string_view utf8)
{
    std::vector<std::string> words;
    std::string word;
    std::size_t at = 0;
    while (at < utf8.size()) {
        const std::size_t start = at;
        const char32_t codePoint = nextCodePoint(utf8, at);
        if (isWordCharacter(codePoint)) {
            appendFolded(word, codePoint, utf8.substr(start, at - start));
        } else if (!word.empty()) {
            words.push_back(std::move(word));
            word.clear();
        }
    }
    if (!word.empty())
        words.push_back(std::move(word));
    return words;
}

std::string TextFolding::folded(std::string_view utf8)
{
    std::string text;
    for (const std::string& word : words(utf8)) {
        if (!text.empty())
            text += ' ';
        text += word;
    }
    return text;
}
