#pragma once

#include "MappingSuggester.h"

#include <string>
#include <vector>

// The suggestions as a mapping file that --map takes as it is: the header
// "alte Datei,neue URL,Urteil,Wert,zweite URL", one line per old page.
class SuggestionCsv
{
public:
    static std::string text(const std::vector<MappingSuggester::Suggestion>& suggestions);
    // A score with two decimals and a point, whatever the locale.
    static std::string score(float value);
};
