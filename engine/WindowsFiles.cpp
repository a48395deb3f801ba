#ifdef _WIN32

#include "WindowsFiles.h"

#include "EngineError.h"
#include "NativePath.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cerrno>
#include <fcntl.h>
#include <io.h>
#include <string_view>
#include <sys/stat.h>
#include <windows.h>

namespace {

// The device names Windows reserves in every folder, with any extension.
constexpr std::array<std::string_view, 22> DeviceNames = {
    "con",  "prn",  "aux",  "nul",  "com1", "com2", "com3", "com4", "com5", "com6", "com7",
    "com8", "com9", "lpt1", "lpt2", "lpt3", "lpt4", "lpt5", "lpt6", "lpt7", "lpt8", "lpt9"};

bool isDeviceName(const std::string& name)
{
    std::string stem = name.substr(0, name.find('.'));
    while (!stem.empty() && stem.back() == ' ')
        stem.pop_back();
    std::transform(stem.begin(), stem.end(), stem.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return std::find(DeviceNames.begin(), DeviceNames.end(), stem) != DeviceNames.end();
}

} // namespace

unsigned long WindowsFiles::attributesOf(const std::string& path)
{
    if (path.empty())
        return INVALID_FILE_ATTRIBUTES;
    try {
        return GetFileAttributesW(toWin32Path(path).c_str());
    } catch (const EngineError&) {
        return INVALID_FILE_ATTRIBUTES; // no text a path can be made of
    }
}

bool WindowsFiles::isFolder(const std::string& path)
{
    DWORD attributes = attributesOf(path);
    // A drive in device form ("\\?\C:") is a volume, not its root folder.
    if (attributes == INVALID_FILE_ATTRIBUTES && !path.empty() && path.back() == ':')
        attributes = attributesOf(path + '\\');
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool WindowsFiles::isFile(const std::string& path)
{
    const DWORD attributes = attributesOf(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool WindowsFiles::isLink(const std::string& path)
{
    const DWORD attributes = attributesOf(path);
    return attributes != INVALID_FILE_ATTRIBUTES &&
           (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
}

bool WindowsFiles::Entry::isLink() const
{
    constexpr unsigned long NameSurrogate = 0x20000000;
    return (Attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0 &&
           (ReparseTag == 0 || (ReparseTag & NameSurrogate) != 0);
}

std::vector<WindowsFiles::Entry> WindowsFiles::list(const std::string& path)
{
    std::wstring pattern = toWin32Path(path);
    pattern += pattern.back() == L'\\' ? L"*" : L"\\*";
    WIN32_FIND_DATAW found;
    const HANDLE search = FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &found,
                                           FindExSearchNameMatch, nullptr, 0);
    if (search == INVALID_HANDLE_VALUE)
        throw EngineError::fileSystem("Ordner konnte nicht gelesen werden", path,
                                      {static_cast<int>(GetLastError()), std::system_category()});
    std::vector<Entry> entries;
    do {
        const std::wstring_view name = found.cFileName;
        std::string utf8;
        // A name that is no valid UTF-16 could not be named again for writing.
        if (name != L"." && name != L".." && toUtf8Text(name, utf8))
            entries.push_back({std::move(utf8), found.dwFileAttributes, found.dwReserved0});
    } while (FindNextFileW(search, &found));
    const DWORD error = GetLastError();
    FindClose(search);
    if (error != ERROR_NO_MORE_FILES)
        throw EngineError::fileSystem("Ordner konnte nicht gelesen werden", path,
                                      {static_cast<int>(error), std::system_category()});
    return entries;
}

std::string WindowsFiles::unusableNameReason(const std::string& name)
{
    if (isDeviceName(name))
        return "Windows reserviert den Namen für ein Gerät";
    if (!name.empty() && (name.back() == '.' || name.back() == ' '))
        return "unter Windows endet kein Name mit Punkt oder Leerzeichen";
    for (const char c : name) {
        if (static_cast<unsigned char>(c) < 0x20)
            return "unter Windows darf ein Name kein Steuerzeichen enthalten";
        if (std::string_view("<>:\"/\\|?*").find(c) != std::string_view::npos)
            return std::string("unter Windows darf ein Name kein „") + c + "“ enthalten";
    }
    return {};
}

std::FILE* WindowsFiles::createNew(const std::string& path)
{
    std::wstring wide;
    try {
        wide = toWin32Path(path);
    } catch (const EngineError&) {
        errno = EILSEQ;
        return nullptr;
    }
    const int descriptor =
        _wopen(wide.c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY, _S_IREAD | _S_IWRITE);
    if (descriptor < 0)
        return nullptr;
    std::FILE* file = _fdopen(descriptor, "wb");
    if (!file) {
        const int reason = errno;
        _close(descriptor);
        errno = reason;
    }
    return file;
}

#endif
