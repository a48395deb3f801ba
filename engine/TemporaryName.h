#pragma once

#include <random>
#include <string>
#include <string_view>

// Names of the files that pages are written to before they replace their
// target. They are short and of one fixed length, so that a page name may use
// the file system's whole limit, and of one exact pattern, so that a later run
// can tell what a killed one left behind.
class TemporaryName
{
public:
    static constexpr std::string_view Prefix = ".kvtmp-";
    static constexpr std::size_t RandomLength = 8;

    static std::string make(std::mt19937_64& random);
    static bool matches(std::string_view name);
};
