#include "HtmlHead.h"

#include <algorithm>
#include <cstring>
#include <libxml/HTMLparser.h>
#include <libxml/parser.h>
#include <memory>
#include <mutex>

namespace {

// The parser is fed in pieces, so that a start tag that never ends is seen
// before all of it has been read.
constexpr std::size_t PieceSize = 4096;

struct Reading
{
    htmlParserCtxtPtr Parser = nullptr;
    std::vector<HtmlHead::Element> Elements;
};

void startElement(void* context, const xmlChar* name, const xmlChar** attributes)
{
    auto& reading = *static_cast<Reading*>(context);
    const auto* tag = reinterpret_cast<const char*>(name);
    if (std::strcmp(tag, "body") == 0) {
        xmlStopParser(reading.Parser);
        return;
    }
    HtmlHead::Element element{tag, {}};
    for (const xmlChar** at = attributes; at && at[0]; at += 2) {
        element.Attributes.emplace_back(reinterpret_cast<const char*>(at[0]),
                                        at[1] ? reinterpret_cast<const char*>(at[1]) : "");
    }
    reading.Elements.push_back(std::move(element));
}

// Warnings about broken HTML are the normal case on the web.
void ignoreError(void*, xmlErrorPtr) {}

struct ParserDeleter
{
    void operator()(htmlParserCtxtPtr parser) const { htmlFreeParserCtxt(parser); }
};

bool stopped(const htmlParserCtxt& parser)
{
    return parser.instate == XML_PARSER_EOF || parser.disableSAX != 0;
}

// Inside one start tag the parser compares every attribute with all before
// it; it waits for the whole tag first, so a long wait is a long tag.
bool withinLongTag(const htmlParserCtxt& parser)
{
    return parser.instate == XML_PARSER_START_TAG &&
           static_cast<std::size_t>(parser.input->end - parser.input->cur) > HtmlHead::LongestTag;
}

} // namespace

std::string HtmlHead::Element::attribute(std::string_view name) const
{
    const auto found =
        std::find_if(Attributes.begin(), Attributes.end(),
                     [name](const auto& attribute) { return attribute.first == name; });
    return found == Attributes.end() ? std::string() : found->second;
}

bool HtmlHead::Element::hasAttribute(std::string_view name) const
{
    return std::any_of(Attributes.begin(), Attributes.end(),
                       [name](const auto& attribute) { return attribute.first == name; });
}

std::vector<HtmlHead::Element> HtmlHead::read(std::string_view html)
{
    static std::once_flag initialised;
    std::call_once(initialised, [] { xmlInitParser(); });

    htmlSAXHandler handler{};
    handler.startElement = &startElement;
    handler.initialized = XML_SAX2_MAGIC;
    handler.serror = &ignoreError;
    Reading reading;
    const std::unique_ptr<htmlParserCtxt, ParserDeleter> parser(
        htmlCreatePushParserCtxt(&handler, &reading, nullptr, 0, nullptr, XML_CHAR_ENCODING_NONE));
    if (!parser)
        return {};
    reading.Parser = parser.get();
    htmlCtxtUseOptions(parser.get(), HTML_PARSE_NOERROR | HTML_PARSE_NOWARNING | HTML_PARSE_NONET);
    for (std::size_t at = 0; at < html.size(); at += PieceSize) {
        const std::size_t length = std::min(PieceSize, html.size() - at);
        htmlParseChunk(parser.get(), html.data() + at, static_cast<int>(length), 0);
        if (stopped(*parser) || withinLongTag(*parser))
            return std::move(reading.Elements);
    }
    htmlParseChunk(parser.get(), nullptr, 0, 1);
    return std::move(reading.Elements);
}
