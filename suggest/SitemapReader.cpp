#include "SitemapReader.h"

#include <algorithm>
#include <gumbo.h>
#include <memory>

namespace {

std::string lowered(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

// The element's name as written, for elements HTML does not know; a prefix
// such as "image:" stays part of it.
std::string elementName(const GumboNode* node)
{
    if (node->v.element.tag != GUMBO_TAG_UNKNOWN)
        return gumbo_normalized_tagname(node->v.element.tag);
    GumboStringPiece piece = node->v.element.original_tag;
    gumbo_tag_from_original_text(&piece);
    return lowered(std::string(piece.data, piece.length));
}

std::string trimmed(const std::string& text)
{
    const std::size_t start = text.find_first_not_of(" \t\r\n");
    if (start == std::string::npos)
        return {};
    return text.substr(start, text.find_last_not_of(" \t\r\n") - start + 1);
}

// The text of a <loc>. An HTML parser reads <![CDATA[...]]> as a comment.
std::string locText(const GumboNode* loc)
{
    std::string text;
    const GumboVector& children = loc->v.element.children;
    for (unsigned i = 0; i < children.length; ++i) {
        const auto* child = static_cast<const GumboNode*>(children.data[i]);
        std::string_view piece;
        if (child->type == GUMBO_NODE_TEXT || child->type == GUMBO_NODE_WHITESPACE ||
            child->type == GUMBO_NODE_CDATA)
            piece = child->v.text.text;
        else if (child->type == GUMBO_NODE_COMMENT)
            piece = child->v.text.text;
        if (child->type == GUMBO_NODE_COMMENT) {
            if (piece.rfind("[CDATA[", 0) != 0)
                continue;
            piece.remove_prefix(7);
            if (piece.size() >= 2 && piece.substr(piece.size() - 2) == "]]")
                piece.remove_suffix(2);
        }
        text += piece;
    }
    return trimmed(text);
}

void collect(const GumboNode* node, const std::string& parent, SitemapReader::Sitemap& sitemap)
{
    // A sitemap's nesting is shallow; deeper elements are not its own.
    std::vector<std::pair<const GumboNode*, std::string>> stack{{node, parent}};
    while (!stack.empty()) {
        auto [current, parentName] = stack.back();
        stack.pop_back();
        if (current->type != GUMBO_NODE_ELEMENT)
            continue;
        const std::string name = elementName(current);
        if (name == "loc") {
            std::string address = locText(current);
            if (address.empty())
                continue;
            if (parentName == "url")
                sitemap.Pages.push_back(std::move(address));
            else if (parentName == "sitemap")
                sitemap.Sitemaps.push_back(std::move(address));
            continue;
        }
        const GumboVector& children = current->v.element.children;
        for (unsigned i = children.length; i-- > 0;)
            stack.emplace_back(static_cast<const GumboNode*>(children.data[i]), name);
    }
}

struct OutputDeleter
{
    void operator()(GumboOutput* output) const
    {
        gumbo_destroy_output(&kGumboDefaultOptions, output);
    }
};

} // namespace

SitemapReader::Sitemap SitemapReader::read(std::string_view xml)
{
    Sitemap sitemap;
    const std::unique_ptr<GumboOutput, OutputDeleter> output(
        gumbo_parse_with_options(&kGumboDefaultOptions, xml.data(), xml.size()));
    if (output)
        collect(output->root, {}, sitemap);
    return sitemap;
}

std::vector<std::string> SitemapReader::robotsSitemaps(std::string_view robots)
{
    std::vector<std::string> addresses;
    std::size_t start = 0;
    while (start < robots.size()) {
        const std::size_t end = std::min(robots.find('\n', start), robots.size());
        const std::string line = trimmed(std::string(robots.substr(start, end - start)));
        start = end + 1;
        if (lowered(line.substr(0, 8)) != "sitemap:")
            continue;
        std::string address = trimmed(line.substr(8));
        if (!address.empty())
            addresses.push_back(std::move(address));
    }
    return addresses;
}
