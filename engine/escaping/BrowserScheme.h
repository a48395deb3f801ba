#pragma once

#include <string>
#include <string_view>

// The scheme of a URL text as a browser reads it from a page: after character
// references are decoded (where a template leaves the text unescaped) and
// after the URL parser has dropped blanks and control characters around the
// text and every tab and line break inside it.
class BrowserScheme
{
public:
    // "javascript:", "data:" or "vbscript:" when the browser would read one of
    // these schemes, in the text as it is or with its references decoded;
    // otherwise the empty text.
    static std::string scriptSchemeOf(std::string_view urlText);

    // The text with numeric character references and the named ones that
    // stand for ASCII characters decoded, with or without the ";".
    static std::string withReferencesDecoded(std::string_view text);
    // The lower-case scheme the URL parser reads, without ":"; empty for a
    // relative URL.
    static std::string schemeOf(std::string_view urlText);
};
