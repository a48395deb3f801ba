#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

// Writes comma-separated values as RFC 4180 asks and CsvReader reads them: a
// field is quoted when it holds a separator, a quote or a line break, with
// its quotes doubled, as spreadsheet programs expect; every record ends with
// CRLF.
class CsvWriter
{
public:
    void addRecord(std::initializer_list<std::string_view> fields);
    const std::string& text() const { return m_text; }

private:
    void appendField(std::string_view field);

    std::string m_text;
};
