#pragma once

#include "PlaceholderReaders.h"

#include <array>
#include <string>
#include <string_view>
#include <vector>

// A template ready to make pages: the credit line is inserted before every
// closing body tag once, and the text is split at every "%URL%" so that each
// page is made by one pass of joining. Each placeholder gets the URL escaped
// for what reads it there: the HTML parser, a script (in a <script> element
// or an event handler) or a style sheet.
class PageTemplate
{
public:
    static constexpr std::string_view BodyEnd = "</BODY>";
    static constexpr std::string_view Placeholder = "%URL%";
    static constexpr std::string_view CreditLink =
        "http://www.kelvane.example/redir/kelvane-1.0.htm";

    // Whether the text holds "</BODY>" in any letter case.
    static bool hasBodyEnd(std::string_view templateText);
    // Every "</BODY>", in any letter case, replaced by the credit line and
    // "</BODY>" in capitals on a line of its own.
    static std::string insertCredit(std::string_view templateText);
    static std::string creditInsert();

    // Takes the credit-inserted text.
    explicit PageTemplate(std::string_view creditedText);

    // The page text: every "%URL%", in any letter case, replaced by the URL,
    // escaped so that the browser reads back exactly the URL text.
    std::string render(std::string_view pageUrl) const;

    static constexpr std::size_t ReaderCount = 6; // the values of TextReader

private:
    static std::string escapedFor(TextReader reader, std::string_view pageUrl);

    std::vector<std::string> m_pieces; // the text between the placeholders
    std::vector<TextReader> m_readers; // one for each placeholder
    std::array<bool, ReaderCount> m_readerUsed{};
    std::size_t m_fixedSize = 0;
};
