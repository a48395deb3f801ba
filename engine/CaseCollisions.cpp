#include "CaseCollisions.h"

#ifdef _WIN32
#include "NativePath.h"

#include <windows.h>
#endif

std::optional<std::size_t> CaseCollisions::earlierPage(const std::string& relativePath,
                                                       std::size_t number)
{
    const auto [at, added] = m_pages.emplace(folded(relativePath), number);
    if (added)
        return std::nullopt;
    return at->second;
}

std::string CaseCollisions::folded(const std::string& utf8)
{
#ifdef _WIN32
    std::wstring wide;
    if (toWideText(utf8, wide)) {
        CharUpperBuffW(wide.data(), static_cast<DWORD>(wide.size()));
        std::string upper;
        if (toUtf8Text(wide, upper))
            return upper;
    }
#endif
    std::string text = utf8;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c >= 'a' && c <= 'z') {
            text[i] = static_cast<char>(c - 'a' + 'A');
        } else if (c == 0xC3 && i + 1 < text.size()) {
            // U+00E0..U+00FE (but U+00F7, the division sign) to U+00C0..U+00DE.
            const auto next = static_cast<unsigned char>(text[i + 1]);
            if (next >= 0xA0 && next <= 0xBE && next != 0xB7)
                text[i + 1] = static_cast<char>(next - 0x20);
            ++i;
        }
    }
    return text;
}
