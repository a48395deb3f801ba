#ifdef _WIN32

#include "NativePath.h"

#include "EngineError.h"

#include <algorithm>
#include <system_error>
#include <vector>
#include <windows.h>

namespace {

[[noreturn]] void failConversion(const std::string& shownPath)
{
    throw EngineError::fileSystem("Pfad ist kein gültiger Text", shownPath,
                                  std::make_error_code(std::errc::illegal_byte_sequence));
}

// For messages only: an unpaired surrogate becomes U+FFFD.
std::string shownText(std::wstring_view wide)
{
    const int size = static_cast<int>(wide.size());
    std::string text(static_cast<std::size_t>(WideCharToMultiByte(CP_UTF8, 0, wide.data(), size,
                                                                  nullptr, 0, nullptr, nullptr)),
                     '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, text.data(), static_cast<int>(text.size()),
                        nullptr, nullptr);
    return text;
}

} // namespace

bool toWideText(std::string_view utf8, std::wstring& wide)
{
    wide.clear();
    if (utf8.empty())
        return true;
    const int size = static_cast<int>(utf8.size());
    const int length =
        MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), size, nullptr, 0);
    if (length == 0)
        return false;
    wide.resize(static_cast<std::size_t>(length));
    return MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), size, wide.data(),
                               length) == length;
}

bool toUtf8Text(std::wstring_view wide, std::string& utf8)
{
    utf8.clear();
    if (wide.empty())
        return true;
    const int size = static_cast<int>(wide.size());
    const int length = WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, wide.data(), size,
                                           nullptr, 0, nullptr, nullptr);
    if (length == 0)
        return false;
    utf8.resize(static_cast<std::size_t>(length));
    return WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, wide.data(), size, utf8.data(),
                               length, nullptr, nullptr) == length;
}

std::filesystem::path toNativePath(const std::string& utf8)
{
    std::wstring wide;
    if (!toWideText(utf8, wide))
        failConversion(utf8);
    return std::filesystem::path(std::move(wide));
}

namespace {

// Splits at "\\", drops empty and "." levels and lets ".." remove the level
// before it, but never the share or drive at the start.
std::wstring withoutDotLevels(std::wstring_view prefix, std::wstring_view rest)
{
    std::vector<std::wstring_view> levels;
    std::size_t start = 0;
    while (start <= rest.size()) {
        const std::size_t end = std::min(rest.find(L'\\', start), rest.size());
        const std::wstring_view level = rest.substr(start, end - start);
        if (level == L"..") {
            if (levels.size() > 1)
                levels.pop_back();
        } else if (!level.empty() && level != L".") {
            levels.push_back(level);
        }
        start = end + 1;
    }
    std::wstring path(prefix);
    for (std::size_t i = 0; i < levels.size(); ++i)
        path.append(i == 0 ? L"" : L"\\").append(levels[i]);
    // A drive alone names its root folder.
    if (levels.size() == 1 && levels.front().size() == 2 && levels.front()[1] == L':')
        path += L'\\';
    return path;
}

} // namespace

std::wstring toWin32Path(const std::string& utf8)
{
    std::wstring wide;
    if (!toWideText(utf8, wide))
        failConversion(utf8);
    if (wide.rfind(L"\\\\?\\", 0) == 0 || wide.rfind(L"\\\\.\\", 0) == 0)
        return wide;
    std::replace(wide.begin(), wide.end(), L'/', L'\\');
    if (wide.rfind(L"\\\\", 0) == 0)
        return withoutDotLevels(L"\\\\?\\UNC\\", std::wstring_view(wide).substr(2));
    if (wide.size() >= 3 && wide[1] == L':' && wide[2] == L'\\')
        return withoutDotLevels(L"\\\\?\\", wide);
    return wide;
}

std::string fromNativePath(const std::filesystem::path& path)
{
    std::string utf8;
    if (!toUtf8Text(path.native(), utf8))
        failConversion(shownText(path.native()));
    return utf8;
}

#endif
