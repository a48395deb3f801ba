#include "SiteBoilerplate.h"

#include "TextFolding.h"

#include <algorithm>
#include <string_view>
#include <unordered_map>
#include <unordered_set>

namespace {

using Counts = std::unordered_map<std::string, std::size_t>;

// Each text counts once per page, however often the page repeats it.
void countOnce(Counts& counts, const std::vector<std::string>& texts)
{
    std::unordered_set<std::string> seen;
    for (const std::string& text : texts) {
        std::string key = TextFolding::folded(text);
        if (seen.insert(key).second)
            ++counts[std::move(key)];
    }
}

void removeFrequent(std::vector<std::string>& texts, const Counts& counts, std::size_t limit)
{
    std::erase_if(texts, [&](const std::string& text) {
        const auto at = counts.find(TextFolding::folded(text));
        return at != counts.end() && at->second >= limit;
    });
}

std::string joined(const std::vector<std::string>& parts)
{
    std::string text;
    for (const std::string& part : parts)
        text += (text.empty() ? "" : " ") + part;
    return text;
}

} // namespace

std::vector<std::string> SiteBoilerplate::titleParts(const std::string& title)
{
    static constexpr std::string_view Separators[] = {" - ",  " | ", " — ", " – ",
                                                      " :: ", " » ", " · ", ": "};
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (start <= title.size()) {
        std::size_t end = title.size();
        std::size_t length = 0;
        for (std::string_view separator : Separators) {
            const std::size_t at = title.find(separator, start);
            if (at < end) {
                end = at;
                length = separator.size();
            }
        }
        if (end > start)
            parts.push_back(title.substr(start, end - start));
        if (end == title.size())
            break;
        start = end + length;
    }
    return parts;
}

void SiteBoilerplate::remove(std::vector<SitePage>& pages)
{
    const std::size_t limit = std::max<std::size_t>(
        MinimumPages, static_cast<std::size_t>(static_cast<double>(pages.size()) * Share + 0.999));
    if (pages.size() < limit)
        return;
    Counts blocks;
    Counts titles;
    for (const SitePage& page : pages) {
        countOnce(blocks, page.Content.Blocks);
        countOnce(blocks, page.Content.Headings);
        countOnce(titles, titleParts(page.Content.Title));
    }
    for (SitePage& page : pages) {
        removeFrequent(page.Content.Blocks, blocks, limit);
        removeFrequent(page.Content.Headings, blocks, limit);
        std::vector<std::string> parts = titleParts(page.Content.Title);
        removeFrequent(parts, titles, limit);
        // A title made of the site's name alone is still the page's title.
        if (!parts.empty())
            page.Content.Title = joined(parts);
    }
}
