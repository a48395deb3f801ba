#include "AbsoluteUrl.h"

#include <algorithm>
#include <cctype>

namespace {

bool startsWithNoCase(std::string_view text, std::string_view prefix)
{
    return text.size() >= prefix.size() &&
           std::equal(prefix.begin(), prefix.end(), text.begin(), [](char a, char b) {
               return std::tolower(static_cast<unsigned char>(a)) ==
                      std::tolower(static_cast<unsigned char>(b));
           });
}

constexpr std::size_t npos = std::string_view::npos;

// Spaces pass, as in the folder and file names the pages append.
bool breaksOut(unsigned char c)
{
    return c < 0x20 || c == 0x7F || c == '"' || c == '<' || c == '>' || c == '\\';
}

} // namespace

std::string AbsoluteUrl::problem(std::string_view text)
{
    std::size_t hostStart = 0;
    if (startsWithNoCase(text, "http://"))
        hostStart = 7;
    else if (startsWithNoCase(text, "https://"))
        hostStart = 8;
    else
        return "keine absolute URL mit http:// oder https://";
    if (hostStart == text.size() || std::string_view("/?#").find(text[hostStart]) != npos)
        return "die URL nennt keinen Rechner";
    for (const char c : text) {
        if (breaksOut(static_cast<unsigned char>(c)))
            return "Steuerzeichen, \", <, > und \\ sind in der URL nicht erlaubt";
    }
    return {};
}
