#include "SuggestionCsv.h"

#include "CsvWriter.h"

#include <algorithm>
#include <charconv>
#include <cmath>

std::string SuggestionCsv::score(float value)
{
    const double clamped = std::clamp(static_cast<double>(value), 0.0, 1.0);
    char buffer[16];
    const auto end =
        std::to_chars(buffer, buffer + sizeof buffer, clamped, std::chars_format::fixed, 2);
    return std::string(buffer, end.ptr);
}

std::string SuggestionCsv::text(const std::vector<MappingSuggester::Suggestion>& suggestions)
{
    CsvWriter csv;
    csv.addRecord({"alte Datei", "neue URL", "Urteil", "Wert", "zweite URL"});
    for (const MappingSuggester::Suggestion& suggestion : suggestions) {
        csv.addRecord({suggestion.OldPath, suggestion.url(), verdictName(suggestion.Result),
                       score(suggestion.score()), suggestion.runnerUp()});
    }
    return csv.text();
}
