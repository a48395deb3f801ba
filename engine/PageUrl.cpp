#include "PageUrl.h"

#include "FileSystem.h"

namespace {

bool needsEscaping(unsigned char c)
{
    return c < 0x20 || c == 0x7F || c == '"' || c == '\'' || c == '<' || c == '>' || c == '\\';
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
