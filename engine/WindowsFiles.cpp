#ifdef _WIN32

#include "WindowsFiles.h"

#include "NativePath.h"

#include <cerrno>
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#include <windows.h>

namespace {

DWORD attributesOf(const std::string& path)
{
    std::wstring wide;
    if (path.empty() || !toWideText(path, wide))
        return INVALID_FILE_ATTRIBUTES;
    return GetFileAttributesW(wide.c_str());
}

} // namespace

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

std::FILE* WindowsFiles::createNew(const std::string& path)
{
    std::wstring wide;
    if (!toWideText(path, wide)) {
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
