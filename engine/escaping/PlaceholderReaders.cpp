#include "PlaceholderReaders.h"

namespace {

char lowerAscii(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool isAsciiLetter(char c)
{
    return lowerAscii(c) >= 'a' && lowerAscii(c) <= 'z';
}

bool isHtmlSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\f' || c == '\r';
}

// Whether the text holds the tag ("</script") at the position, in any letter
// case, followed by what ends a tag name.
bool tagAt(std::string_view text, std::size_t at, std::string_view tag)
{
    if (at + tag.size() > text.size())
        return false;
    for (std::size_t k = 0; k < tag.size(); ++k) {
        if (lowerAscii(text[at + k]) != tag[k])
            return false;
    }
    const std::size_t next = at + tag.size();
    return next == text.size() || isHtmlSpace(text[next]) || text[next] == '>' || text[next] == '/';
}

} // namespace

std::vector<TextReader> PlaceholderReaders::of(const std::vector<std::string>& pieces)
{
    PlaceholderReaders scanner;
    std::vector<TextReader> readers;
    for (std::size_t i = 0; i + 1 < pieces.size(); ++i) {
        for (std::size_t at = 0; at < pieces[i].size();)
            at = scanner.step(pieces[i], at);
        readers.push_back(scanner.reader());
    }
    return readers;
}

// Reads from the position on; returns where to go on.
std::size_t PlaceholderReaders::step(std::string_view piece, std::size_t at)
{
    switch (m_state) {
    case State::Data:
        return inData(piece, at);
    case State::Comment: {
        const std::size_t end = piece.find("-->", at);
        if (end == std::string_view::npos)
            return piece.size();
        m_state = State::Data;
        return end + 3;
    }
    case State::RawText:
        for (std::size_t end = piece.find('<', at); end != std::string_view::npos;
             end = piece.find('<', end + 1)) {
            if (tagAt(piece, end, m_rawTextEnd)) {
                m_state = State::Data;
                return end + m_rawTextEnd.size();
            }
        }
        return piece.size();
    case State::Value:
        return inValue(piece, at);
    default:
        return inTag(piece, at);
    }
}

std::size_t PlaceholderReaders::inData(std::string_view piece, std::size_t at)
{
    const std::size_t open = piece.find('<', at);
    if (open == std::string_view::npos)
        return piece.size();
    if (piece.substr(open + 1, 3) == "!--") {
        m_state = State::Comment;
        return open + 4;
    }
    const bool endTag = open + 1 < piece.size() && piece[open + 1] == '/';
    const std::size_t name = open + (endTag ? 2 : 1);
    if (name < piece.size() && isAsciiLetter(piece[name])) {
        m_state = State::TagName;
        m_tagName = endTag ? "/" : "";
        return name;
    }
    return open + 1;
}

// One character of a tag outside its values: the name, white space, an
// attribute's name or its "=".
std::size_t PlaceholderReaders::inTag(std::string_view piece, std::size_t at)
{
    const char c = piece[at];
    if (c == '>')
        return endOfTag(at + 1);
    switch (m_state) {
    case State::TagName:
        if (isHtmlSpace(c) || c == '/')
            m_state = State::InTag;
        else
            m_tagName += lowerAscii(c);
        break;
    case State::AttributeName:
        if (c == '=')
            m_state = State::BeforeValue;
        else if (isHtmlSpace(c) || c == '/')
            m_state = c == '/' ? State::InTag : State::AfterAttributeName;
        else
            m_attributeName += lowerAscii(c);
        break;
    case State::BeforeValue:
        if (isHtmlSpace(c))
            break;
        m_state = State::Value;
        m_quote = c == '"' || c == '\'' ? c : 0;
        return m_quote ? at + 1 : at;
    default: // InTag, AfterAttributeName
        if (c == '=' && m_state == State::AfterAttributeName)
            m_state = State::BeforeValue;
        else if (!isHtmlSpace(c) && c != '/') {
            m_state = State::AttributeName;
            m_attributeName = lowerAscii(c);
        }
    }
    return at + 1;
}

std::size_t PlaceholderReaders::inValue(std::string_view piece, std::size_t at)
{
    if (m_quote) {
        const std::size_t end = piece.find(m_quote, at);
        if (end == std::string_view::npos)
            return piece.size();
        m_state = State::InTag;
        return end + 1;
    }
    const char c = piece[at];
    if (c == '>')
        return endOfTag(at + 1);
    if (isHtmlSpace(c))
        m_state = State::InTag;
    return at + 1;
}

// After a <script> or <style> start tag comes raw text up to its end tag.
std::size_t PlaceholderReaders::endOfTag(std::size_t after)
{
    m_state = State::Data;
    if (m_tagName == "script" || m_tagName == "style") {
        m_state = State::RawText;
        m_rawTextEnd = m_tagName == "script" ? "</script" : "</style";
    }
    return after;
}

TextReader PlaceholderReaders::reader() const
{
    const bool handler = m_attributeName.size() > 2 && m_attributeName.rfind("on", 0) == 0;
    switch (m_state) {
    case State::Data:
    case State::Comment:
        return TextReader::Html;
    case State::RawText:
        return m_tagName == "script" ? TextReader::Script : TextReader::Style;
    case State::Value:
        if (m_quote)
            return handler ? TextReader::EventHandler : TextReader::Html;
        return handler ? TextReader::UnquotedEventHandler : TextReader::UnquotedAttribute;
    case State::BeforeValue:
        return handler ? TextReader::UnquotedEventHandler : TextReader::UnquotedAttribute;
    default: // a tag's or attribute's name, or between them
        return TextReader::UnquotedAttribute;
    }
}
