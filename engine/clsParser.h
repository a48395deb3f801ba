#pragma once

#include <string>
#include <vector>

// Splits a list text such as "htm;html;1-3" into its entries. Entries are
// separated by ";"; two whole numbers joined by "-" expand to every number in
// between.
class clsParser
{
public:
    std::string InputText;

    // Parses InputText anew on every call. Throws EngineError of kind
    // TypeMismatch or Overflow for a range side that is no 16-bit number.
    std::vector<std::string> TextList();

private:
    void ParseInputText();

    std::vector<std::string> m_entries;
};
