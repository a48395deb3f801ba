#pragma once

#include <string>
#include <string_view>

// Text for a string literal inside a page's <script> element, in either
// quote: the script reads back exactly the text.
class ScriptText
{
public:
    // Quotes, the backslash, "<", ">", "&", control characters and the line
    // terminators U+2028 and U+2029 as \uXXXX, so that nothing ends the
    // literal, the line or the element ("</script>"). Takes UTF-8; other bytes
    // pass as they are.
    static std::string escaped(std::string_view utf8);
};
