#pragma once

#include <initializer_list>
#include <span>
#include <string>
#include <string_view>

// Writes comma-separated values as RFC 4180 asks and CsvReader reads them: a
// field is quoted when it holds a separator, a quote or a line break, with
// its quotes doubled, as spreadsheet programs expect; every record ends with
// CRLF.
class CsvWriter
{
public:
    // Spreadsheet programs read a UTF-8 file without a byte-order mark in the
    // system's 8-bit code page, which garbles every umlaut; programs that read
    // CSV do not expect the mark.
    enum class Audience
    {
        Programs,
        People
    };

    static constexpr std::string_view ByteOrderMark = "\xEF\xBB\xBF";

    explicit CsvWriter(Audience audience = Audience::Programs);

    void addRecord(std::initializer_list<std::string_view> fields);
    void addRecord(std::span<const std::string_view> fields);
    const std::string& text() const { return m_text; }

private:
    void appendField(std::string_view field);

    std::string m_text;
};
