#include "UploadTarget.h"

#include <cctype>

namespace {

int hexValue(char digit)
{
    if (std::isdigit(static_cast<unsigned char>(digit)))
        return digit - '0';
    const int lower = std::tolower(static_cast<unsigned char>(digit));
    return lower >= 'a' && lower <= 'f' ? lower - 'a' + 10 : -1;
}

std::optional<std::string> percentDecoded(const std::string& text)
{
    std::string decoded;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%') {
            decoded += text[i];
            continue;
        }
        if (i + 2 >= text.size())
            return std::nullopt;
        const int high = hexValue(text[i + 1]);
        const int low = hexValue(text[i + 2]);
        if (high < 0 || low < 0)
            return std::nullopt;
        decoded += static_cast<char>(high * 16 + low);
        i += 2;
    }
    return decoded;
}

bool hasControlCharacter(const std::string& text)
{
    for (const char c : text) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f)
            return true;
    }
    return false;
}

// No "." or ".." level: the upload must stay in the folder the user named.
bool climbs(const std::string& folder)
{
    std::size_t start = 0;
    while (start <= folder.size()) {
        const std::size_t slash = std::min(folder.find('/', start), folder.size());
        const std::string level = folder.substr(start, slash - start);
        if (level == "." || level == "..")
            return true;
        start = slash + 1;
    }
    return false;
}

std::optional<UploadTarget::Protocol> protocolOf(const std::string& scheme)
{
    if (scheme == "sftp")
        return UploadTarget::Protocol::Sftp;
    if (scheme == "ftps")
        return UploadTarget::Protocol::Ftps;
    if (scheme == "ftp")
        return UploadTarget::Protocol::Ftp;
    return std::nullopt;
}

// "host", "host:port", "[::1]:port"; the port 1 to 65535.
bool splitHostPort(const std::string& authority, UploadTarget& target)
{
    std::string port;
    if (!authority.empty() && authority[0] == '[') {
        const std::size_t close = authority.find(']');
        if (close == std::string::npos)
            return false;
        target.Host = authority.substr(0, close + 1);
        if (close + 1 < authority.size()) {
            if (authority[close + 1] != ':')
                return false;
            port = authority.substr(close + 2);
        }
    } else {
        const std::size_t colon = authority.rfind(':');
        target.Host = authority.substr(0, colon);
        if (colon != std::string::npos)
            port = authority.substr(colon + 1);
    }
    if (target.Host.empty() || target.Host.find_first_of("/\\ ") != std::string::npos)
        return false;
    if (port.empty())
        return true;
    if (port.size() > 5 || port.find_first_not_of("0123456789") != std::string::npos)
        return false;
    target.Port = std::stoi(port);
    return target.Port >= 1 && target.Port <= 65535;
}

} // namespace

std::optional<UploadTarget> UploadTarget::parse(const std::string& url, std::string& error)
{
    const std::string example = "sftp://benutzer@rechner/ordner, ftps://… oder ftp://…";
    const std::size_t separator = url.find("://");
    const std::optional<Protocol> kind =
        separator == std::string::npos ? std::nullopt : protocolOf(url.substr(0, separator));
    if (!kind) {
        error = "Die Zieladresse \"" + url + "\" ist keine Adresse wie " + example + ".";
        return std::nullopt;
    }
    UploadTarget target;
    target.Kind = *kind;
    const std::size_t pathStart = url.find('/', separator + 3);
    std::string authority = url.substr(separator + 3, pathStart - (separator + 3));
    const std::size_t at = authority.rfind('@');
    if (at != std::string::npos) {
        const std::optional<std::string> user = percentDecoded(authority.substr(0, at));
        if (!user || user->empty() || user->find(':') != std::string::npos ||
            hasControlCharacter(*user)) {
            error = "Der Benutzer in \"" + url +
                    "\" ist ungültig; ein Kennwort gehört nicht in die Adresse.";
            return std::nullopt;
        }
        target.User = *user;
        authority.erase(0, at + 1);
    }
    if (!splitHostPort(authority, target)) {
        error = "Rechner oder Port in \"" + url + "\" sind ungültig.";
        return std::nullopt;
    }
    const std::optional<std::string> folder =
        percentDecoded(pathStart == std::string::npos ? "/" : url.substr(pathStart));
    if (!folder || hasControlCharacter(*folder) || climbs(*folder) ||
        folder->find_first_of("?#") != std::string::npos) {
        error =
            "Der Zielordner in \"" + url + "\" ist ungültig (kein \".\", \"..\", \"?\", \"#\").";
        return std::nullopt;
    }
    target.Folder = *folder;
    while (target.Folder.size() > 1 && target.Folder.back() == '/')
        target.Folder.pop_back();
    return target;
}

const char* UploadTarget::schemeOf(Protocol kind)
{
    switch (kind) {
    case Protocol::Sftp:
        return "sftp";
    case Protocol::Ftps:
        return "ftps";
    case Protocol::Ftp:
        return "ftp";
    }
    return "";
}

int UploadTarget::defaultPort() const
{
    return Kind == Protocol::Sftp ? 22 : 21;
}

std::string UploadTarget::display() const
{
    std::string text = std::string(schemeOf(Kind)) + "://";
    if (!User.empty())
        text += User + "@";
    text += Host;
    if (Port != 0)
        text += ":" + std::to_string(Port);
    return text + Folder;
}

std::string UploadTarget::curlBase() const
{
    return std::string(Kind == Protocol::Sftp ? "sftp" : "ftp") + "://" + Host + ":" +
           std::to_string(Port != 0 ? Port : defaultPort());
}
