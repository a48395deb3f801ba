#pragma once

#include <cstddef>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The pages whose new address is not the mirror of their old path: read
// from a CSV file whose first two fields are the page's path below the
// directory with "/" between the levels and its absolute new URL. A header
// line starting "alte Datei,neue URL" may come first. Further fields (the
// verdict and score of a suggested mapping) are ignored, and so is a line
// whose address is empty: the page keeps the mirror rule.
class PageMapping
{
public:
    // The mapping in the file's text, or a German message naming the line of
    // the first fault in error.
    static PageMapping parse(std::string_view text, std::string& error);

    bool empty() const { return m_entries.empty(); }
    std::size_t size() const { return m_entries.size(); }

    bool lists(const std::string& relativePath) const { return m_entries.contains(relativePath); }
    // The URL listed for the page, if any; remembers that it was asked for.
    std::optional<std::string> urlFor(const std::string& relativePath);
    // Listed paths no page asked for, in file order.
    std::vector<std::string> unusedPaths() const;

private:
    struct Entry
    {
        std::string Url;
        std::size_t Line = 0;
        bool Used = false;
    };

    std::map<std::string, Entry, std::less<>> m_entries;
};
