#pragma once

#include <string>
#include <string_view>
#include <vector>

// What reads the text put at a place of a page template, and so how it must
// be escaped there.
enum class TextReader
{
    Html,                 // between elements, in a comment or a quoted value
    UnquotedAttribute,    // a value without quotes, or elsewhere inside a tag
    Script,               // inside a <script> element
    EventHandler,         // the quoted value of an on… attribute
    UnquotedEventHandler, // the same without quotes
    Style,                // inside a <style> element
};

// Reads a template cut into pieces as the browser's HTML tokenizer would, far
// enough to tell for each place between two pieces what reads the text put
// there. The template is the user's and may be any text: what it cannot
// tell for sure, it takes for the HTML parser.
class PlaceholderReaders
{
public:
    // One reader for each place between neighbouring pieces.
    static std::vector<TextReader> of(const std::vector<std::string>& pieces);

private:
    enum class State
    {
        Data,
        Comment,
        RawText, // script or style, up to its end tag
        TagName,
        InTag,
        AttributeName,
        AfterAttributeName,
        BeforeValue,
        Value,
    };

    std::size_t step(std::string_view piece, std::size_t at);
    std::size_t inData(std::string_view piece, std::size_t at);
    std::size_t inTag(std::string_view piece, std::size_t at);
    std::size_t inValue(std::string_view piece, std::size_t at);
    std::size_t endOfTag(std::size_t after);
    TextReader reader() const;

    State m_state = State::Data;
    std::string m_tagName;       // in lower case
    std::string m_attributeName; // in lower case
    char m_quote = 0;            // of the value; 0 without quotes
    std::string_view m_rawTextEnd;
};
