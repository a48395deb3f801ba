#include "HtmlPageReader.h"

#include <gumbo.h>
#include <memory>
#include <utility>
#include <vector>

namespace {

// Enough text of any page to tell it from others; bounds the memory a huge
// page can take.
constexpr std::size_t TextLimit = 256 * 1024;

bool isSilent(GumboTag tag)
{
    return tag == GUMBO_TAG_SCRIPT || tag == GUMBO_TAG_STYLE || tag == GUMBO_TAG_NOSCRIPT ||
           tag == GUMBO_TAG_TEMPLATE || tag == GUMBO_TAG_NAV || tag == GUMBO_TAG_FOOTER;
}

bool isHeading(GumboTag tag)
{
    return tag == GUMBO_TAG_H1 || tag == GUMBO_TAG_H2 || tag == GUMBO_TAG_H3;
}

// Elements whose start and end break the text into blocks; everything else
// (links, emphasis, spans) runs on within its block.
bool breaksBlock(GumboTag tag)
{
    switch (tag) {
    case GUMBO_TAG_P:
    case GUMBO_TAG_DIV:
    case GUMBO_TAG_LI:
    case GUMBO_TAG_TD:
    case GUMBO_TAG_TH:
    case GUMBO_TAG_TR:
    case GUMBO_TAG_DT:
    case GUMBO_TAG_DD:
    case GUMBO_TAG_PRE:
    case GUMBO_TAG_BLOCKQUOTE:
    case GUMBO_TAG_SECTION:
    case GUMBO_TAG_ARTICLE:
    case GUMBO_TAG_MAIN:
    case GUMBO_TAG_ASIDE:
    case GUMBO_TAG_HEADER:
    case GUMBO_TAG_TABLE:
    case GUMBO_TAG_UL:
    case GUMBO_TAG_OL:
    case GUMBO_TAG_DL:
    case GUMBO_TAG_BR:
    case GUMBO_TAG_HR:
    case GUMBO_TAG_H4:
    case GUMBO_TAG_H5:
    case GUMBO_TAG_H6:
    case GUMBO_TAG_FORM:
    case GUMBO_TAG_FIGURE:
    case GUMBO_TAG_FIGCAPTION:
    case GUMBO_TAG_CAPTION:
    case GUMBO_TAG_BODY:
    case GUMBO_TAG_CENTER:
    case GUMBO_TAG_FONT:
        return true;
    default:
        return isHeading(tag);
    }
}

void appendCollapsed(std::string& out, const char* text)
{
    for (const char* c = text; *c; ++c) {
        const bool space = *c == ' ' || *c == '\n' || *c == '\t' || *c == '\r' || *c == '\f';
        if (!space)
            out += *c;
        else if (!out.empty() && out.back() != ' ')
            out += ' ';
    }
}

std::string trimmed(std::string text)
{
    while (!text.empty() && text.back() == ' ')
        text.pop_back();
    const std::size_t start = text.find_first_not_of(' ');
    return start == std::string::npos ? std::string() : text.substr(start);
}

// Walks the tree without recursion, so that deeply nested pages cannot
// exhaust the stack.
class TreeWalk
{
public:
    explicit TreeWalk(PageContent& content) : m_content(content) {}

    void walk(const GumboNode* root)
    {
        std::vector<std::pair<const GumboNode*, unsigned>> stack{{root, 0}};
        enter(root);
        while (!stack.empty()) {
            auto& [node, next] = stack.back();
            const GumboVector* children =
                node->type == GUMBO_NODE_ELEMENT ? &node->v.element.children : nullptr;
            if (!children || next >= children->length) {
                leave(node);
                stack.pop_back();
                continue;
            }
            const auto* child = static_cast<const GumboNode*>(children->data[next++]);
            if (child->type == GUMBO_NODE_ELEMENT && child->v.element.tag == GUMBO_TAG_HEAD) {
                readTitle(child);
                continue;
            }
            if (child->type == GUMBO_NODE_ELEMENT && isSilent(child->v.element.tag))
                continue;
            if (child->type == GUMBO_NODE_ELEMENT) {
                enter(child);
                stack.emplace_back(child, 0);
            } else if (child->type == GUMBO_NODE_TEXT || child->type == GUMBO_NODE_CDATA ||
                       child->type == GUMBO_NODE_WHITESPACE) {
                if (m_length < TextLimit) {
                    const std::size_t before = m_block.size();
                    appendCollapsed(m_block, child->v.text.text);
                    m_length += m_block.size() - before;
                }
            }
        }
        flush();
    }

private:
    void readTitle(const GumboNode* head)
    {
        const GumboVector& children = head->v.element.children;
        for (unsigned i = 0; i < children.length; ++i) {
            const auto* child = static_cast<const GumboNode*>(children.data[i]);
            if (child->type != GUMBO_NODE_ELEMENT || child->v.element.tag != GUMBO_TAG_TITLE)
                continue;
            std::string title;
            const GumboVector& texts = child->v.element.children;
            for (unsigned j = 0; j < texts.length; ++j) {
                const auto* text = static_cast<const GumboNode*>(texts.data[j]);
                if (text->type == GUMBO_NODE_TEXT || text->type == GUMBO_NODE_WHITESPACE)
                    appendCollapsed(title, text->v.text.text);
            }
            m_content.Title = trimmed(std::move(title));
            return;
        }
    }

    void enter(const GumboNode* node)
    {
        if (node->type != GUMBO_NODE_ELEMENT || !breaksBlock(node->v.element.tag))
            return;
        flush();
        if (isHeading(node->v.element.tag) && m_headingDepth++ == 0)
            m_inHeading = true;
    }

    void leave(const GumboNode* node)
    {
        if (node->type != GUMBO_NODE_ELEMENT || !breaksBlock(node->v.element.tag))
            return;
        flush();
        if (isHeading(node->v.element.tag) && --m_headingDepth == 0)
            m_inHeading = false;
    }

    void flush()
    {
        std::string block = trimmed(std::move(m_block));
        m_block.clear();
        if (block.empty())
            return;
        (m_inHeading ? m_content.Headings : m_content.Blocks).push_back(std::move(block));
    }

    PageContent& m_content;
    std::string m_block;
    std::size_t m_length = 0;
    int m_headingDepth = 0;
    bool m_inHeading = false;
};

struct OutputDeleter
{
    void operator()(GumboOutput* output) const
    {
        gumbo_destroy_output(&kGumboDefaultOptions, output);
    }
};

} // namespace

PageContent HtmlPageReader::read(std::string_view utf8)
{
    PageContent content;
    const std::unique_ptr<GumboOutput, OutputDeleter> output(
        gumbo_parse_with_options(&kGumboDefaultOptions, utf8.data(), utf8.size()));
    if (!output)
        return content;
    TreeWalk(content).walk(output->root);
    if (content.Title.empty() && !content.Headings.empty())
        content.Title = content.Headings.front();
    return content;
}
