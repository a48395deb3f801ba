#ifdef _WIN32

#include "NativePath.h"

#include "EngineError.h"

#include <system_error>
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

std::string fromNativePath(const std::filesystem::path& path)
{
    std::string utf8;
    if (!toUtf8Text(path.native(), utf8))
        failConversion(shownText(path.native()));
    return utf8;
}

#endif
