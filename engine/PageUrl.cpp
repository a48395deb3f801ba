#include "PageUrl.h"

#include "BrowserScheme.h"
#include "FileSystem.h"

namespace {

// Every ASCII character a URL cannot carry as it is (the server rules write
// them as escapes too), and those that would change its meaning: "#" starts
// a fragment, "?" a query, "%" an escape, "&" a character reference in the
// page's HTML. The space and bytes from 0x80 stay: the browser encodes them
// as the rules do.
bool needsEscaping(unsigned char c)
{
    return c < 0x20 || c == 0x7F || c == '"' || c == '\'' || c == '<' || c == '>' || c == '\\' ||
           c == '#' || c == '?' || c == '%' || c == '&' || c == '^' || c == '`' || c == '{' ||
           c == '}' || c == '|' || c == '[' || c == ']';
}

bool isControl(std::string_view text, std::size_t at)
{
    const auto c = static_cast<unsigned char>(text[at]);
    if (c < 0x20 || c == 0x7F)
        return true;
    // U+0080 to U+009F in UTF-8.
    return c == 0xC2 && at + 1 < text.size() && static_cast<unsigned char>(text[at + 1]) >= 0x80 &&
           static_cast<unsigned char>(text[at + 1]) <= 0x9F;
}

void appendEscaped(std::string& out, std::string_view text)
{
    static constexpr char Hex[] = "0123456789ABCDEF";
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (needsEscaping(byte)) {
            out += '%';
            out += Hex[byte >> 4];
            out += Hex[byte & 0x0F];
        } else {
            out += c;
        }
    }
}

} // namespace

std::string PageUrl::build(std::string_view urlText, std::string_view relativeFolder,
                           std::string_view fileName, bool appendPath)
{
    std::string url(urlText);
    if (!appendPath)
        return url;
    std::string path = toUrlPath(relativeFolder);
    path += '/';
    path += fileName;
    appendEscaped(url, path);
    return url;
}

std::string PageUrl::toUrlPath(std::string_view path)
{
    std::string urlPath(path);
    for (char& c : urlPath) {
        if (c == PathSeparator)
            c = '/';
    }
    return urlPath;
}

std::string PageUrl::refusalFor(std::string_view urlText)
{
    for (std::size_t i = 0; i < urlText.size(); ++i) {
        if (isControl(urlText, i))
            return "Die neue URL enthält ein Steuerzeichen.";
    }
    if (const std::string scheme = BrowserScheme::scriptSchemeOf(urlText); !scheme.empty())
        return "Die neue URL darf nicht mit \"" + scheme +
               "\" beginnen: Besucher sollen zu einer Adresse geleitet werden, nicht ein "
               "Skript ausführen.";
    return {};
}
