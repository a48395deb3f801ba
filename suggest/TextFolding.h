#pragma once

#include <string>
#include <string_view>
#include <vector>

// Words for comparing pages: UTF-8 text cut at everything that is neither a
// letter nor a digit, in lower case, with umlauts written out (ä as "ae",
// ß as "ss") and other Latin accents dropped, so that "Über", "ueber" and
// "UEBER" are one word, as are "café" and "cafe".
class TextFolding
{
public:
    static std::vector<std::string> words(std::string_view utf8);
    // The text folded as words are, with single spaces between them.
    static std::string folded(std::string_view utf8);
};
