#pragma once

#include <string>
#include <string_view>

// Text for a URL inside a page's <style> element, in url(…) with or without
// quotes or in a string: the style sheet reads back exactly the text.
class CssText
{
public:
    // Every ASCII character outside letters, digits and the URL's own
    // punctuation as a hex escape ("\3C "), so that nothing ends the string,
    // the url(…) or the element ("</style>"). Takes UTF-8; other bytes pass
    // as they are.
    static std::string escaped(std::string_view utf8);
};
