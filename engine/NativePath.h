#pragma once

#include <filesystem>
#include <string>
#include <string_view>

// The engine's paths are UTF-8 text; the platform's may be wide.
#ifdef _WIN32

// A text that cannot be converted names no file: both throw EngineError of
// kind FileSystem, never the standard library's filesystem_error.
std::filesystem::path toNativePath(const std::string& utf8);
std::string fromNativePath(const std::filesystem::path& path);

// UTF-8 and UTF-16 for the wide Windows functions; false for text that is not
// valid in its encoding (a stray byte, an unpaired surrogate).
bool toWideText(std::string_view utf8, std::wstring& wide);
bool toUtf8Text(std::wstring_view wide, std::string& utf8);

// The path for the wide Win32 functions in its extended-length form
// ("\\?\C:\x", "\\?\UNC\server\share\x"), which has no 260-character limit and
// takes every name as it is: "aux.html" stays a file rather than becoming a
// device, a trailing dot or space is kept. "." and ".." levels are resolved
// in the text first, since the system no longer does. A relative path stays
// as it is. Throws like toNativePath.
std::wstring toWin32Path(const std::string& utf8);

#else

inline std::filesystem::path toNativePath(const std::string& utf8)
{
    return std::filesystem::path(utf8);
}

inline std::string fromNativePath(const std::filesystem::path& path)
{
    return path.string();
}

#endif
