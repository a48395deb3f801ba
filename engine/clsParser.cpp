#include "clsParser.h"

#include "EngineError.h"

#include <cstdint>
#include <limits>

namespace {

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

// A range side as a 16-bit number: a whole decimal number, optionally with a
// plus sign and blanks around it. Anything else is a type mismatch.
std::int16_t toRangeBound(const std::string& side)
{
    std::size_t begin = 0;
    std::size_t end = side.size();
    while (begin < end && isBlank(side[begin]))
        ++begin;
    while (end > begin && isBlank(side[end - 1]))
        --end;
    if (begin < end && side[begin] == '+')
        ++begin;
    if (begin == end)
        throw EngineError(EngineError::Kind::TypeMismatch,
                          "Dateitypen fehlerhaft: \"" + side + "\" ist keine Zahl");

    long value = 0;
    bool tooLarge = false;
    for (std::size_t i = begin; i < end; ++i) {
        const char c = side[i];
        if (c < '0' || c > '9')
            throw EngineError(EngineError::Kind::TypeMismatch,
                              "Dateitypen fehlerhaft: \"" + side + "\" ist keine Zahl");
        value = tooLarge ? value : value * 10 + (c - '0');
        tooLarge = tooLarge || value > std::numeric_limits<std::int16_t>::max();
    }
    if (tooLarge)
        throw EngineError(EngineError::Kind::Overflow,
                          "Dateitypen fehlerhaft: " + side +
                              " liegt nicht zwischen -32768 und 32767");
    return static_cast<std::int16_t>(value);
}

void appendRange(std::vector<std::string>& entries, const std::string& from, const std::string& to)
{
    const int lower = toRangeBound(from);
    const int upper = toRangeBound(to);
    for (int k = lower; k <= upper; ++k)
        entries.push_back(std::to_string(k));
}

} // namespace

std::vector<std::string> clsParser::TextList()
{
    ParseInputText();
    return m_entries;
}

void clsParser::ParseInputText()
{
    std::string work = InputText;
    if (work.empty() || work.back() != ';')
        work += ';';

    std::vector<std::string> entries;
    std::string piece;
    std::string rangeStart;
    bool inRange = false;
    for (const char c : work) {
        if (c == ';') {
            if (inRange)
                appendRange(entries, rangeStart, piece);
            else
                entries.push_back(piece);
            piece.clear();
            inRange = false;
        } else if (c == '-') {
            rangeStart = piece;
            piece.clear();
            inRange = true;
        } else {
            piece += c;
        }
    }
    // A text of nothing but empty ranges yields no entry and keeps the last.
    if (!entries.empty())
        m_entries = std::move(entries);
}
