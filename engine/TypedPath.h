#pragma once

#include <string>

// A folder path as a person typed it.
class TypedPath
{
public:
    // An absolute path unchanged; a relative one joined to the current
    // folder, since the run climbs the output path to create its folders.
    // The empty text stays empty: it names no folder.
    static std::string resolve(const std::string& typed);

    static bool isAbsolute(const std::string& path);
};
