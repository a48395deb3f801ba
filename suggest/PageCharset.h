#pragma once

#include <string>
#include <string_view>

// A page's bytes as UTF-8 text, for the HTML parser. The charset comes from
// the server's Content-Type, else from the page's own <meta> in its first
// kilobytes; without either, or with a charset named UTF-8 that the bytes
// break, the bytes are read as UTF-8 when they are valid and as the 8-bit
// code page otherwise, as the rest of the program reads pages.
class PageCharset
{
public:
    static std::string toUtf8(std::string_view bytes, std::string_view contentType = {});

    // The lower-case charset name after "charset=" in text, or empty.
    static std::string declared(std::string_view text);
};
