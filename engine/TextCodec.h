#pragma once

#include <string>
#include <string_view>

// Templates and pages are bytes. Where text meets them (a typed URL, a file
// name, the editor's text), the bytes are read as UTF-8 when they are valid
// UTF-8 and as Windows-1252 otherwise. Every byte is a character in
// Windows-1252, so bytes read that way always come back unchanged.
class TextCodec
{
public:
    enum class Encoding
    {
        Utf8,
        Windows1252
    };

    // What to write for a character the target encoding cannot hold.
    enum class Unencodable
    {
        PercentEncode,      // its UTF-8 bytes as %XX, for URLs
        CharacterReference, // &#N; for HTML text
    };

    static bool isValidUtf8(std::string_view bytes);
    static Encoding detect(std::string_view bytes);

    // Bytes in the given encoding as UTF-8 text.
    static std::string toUtf8(std::string_view bytes, Encoding encoding);
    // UTF-8 text as bytes in the given encoding. Bytes of the input that are
    // not valid UTF-8 are percent-encoded or passed through, by the policy.
    static std::string fromUtf8(std::string_view utf8, Encoding encoding, Unencodable policy);
    // The text for a person to read: valid UTF-8 as it is, every other byte
    // as "\xHH", so that it shows as what it is rather than as "?".
    static std::string visible(std::string_view bytes);
    // One code point (at most U+10FFFF) appended as UTF-8.
    static void appendUtf8(std::string& out, char32_t codePoint);
};
