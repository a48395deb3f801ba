#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Reads comma-separated values as RFC 4180 writes them: fields in double
// quotes may hold commas, line breaks and doubled quotes; records end with
// CRLF, and a lone LF is taken as well, since hand-edited files have them.
// The text is taken as bytes; the reader does not look at their encoding.
class CsvReader
{
public:
    struct Record
    {
        std::vector<std::string> Fields;
        // The line of the file the record starts on, counted from 1.
        std::size_t Line = 0;
    };

    struct Error
    {
        std::size_t Line = 0;
        std::string Reason; // German, without the line number
    };

    // Every record of the text, or the first error. A line break at the end
    // of the text does not start another record.
    static std::vector<Record> parse(std::string_view text, std::optional<Error>& error);
};
