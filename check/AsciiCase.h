#pragma once

#include <cctype>
#include <string>
#include <string_view>

// Header names, tag and attribute names, schemes and host names compare
// without regard to ASCII letter case; other bytes stay as they are.
inline std::string asciiLowered(std::string_view text)
{
    std::string out(text);
    for (char& c : out)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}
