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

    // For files outside the output tree, where not every such name is ours:
    // "." + target + the pattern above, so that only what a run left for its
    // own target is ever removed. Empty when the name would exceed the file
    // system's limit of 255 bytes; the caller then falls back to make().
    static std::string besideTarget(std::string_view target, std::mt19937_64& random);
    static bool matchesBesideTarget(std::string_view name, std::string_view target);
};
