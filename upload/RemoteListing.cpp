#include "RemoteListing.h"

#include <charconv>

namespace {

// The fields before the name: mode, links, owner, group, size, month, day,
// time or year.
constexpr int FieldsBeforeName = 8;

bool readEntry(std::string_view line, std::string& name, RemoteListing::Entry& entry)
{
    if (line.empty() || (line[0] != '-' && line[0] != 'd'))
        return false;
    std::size_t position = 0;
    std::string_view fields[FieldsBeforeName];
    for (std::string_view& field : fields) {
        const std::size_t start = line.find_first_not_of(' ', position);
        if (start == std::string_view::npos)
            return false;
        position = std::min(line.find(' ', start), line.size());
        field = line.substr(start, position - start);
    }
    if (position + 1 >= line.size())
        return false;
    name = std::string(line.substr(position + 1));
    const std::string_view size = fields[4];
    const auto parsed = std::from_chars(size.data(), size.data() + size.size(), entry.Size);
    if (parsed.ec != std::errc() || parsed.ptr != size.data() + size.size())
        return false;
    entry.Folder = line[0] == 'd';
    return name != "." && name != "..";
}

} // namespace

RemoteListing RemoteListing::parse(std::string_view text)
{
    RemoteListing listing;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos)
            end = text.size();
        std::string_view line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        std::string name;
        Entry entry;
        if (readEntry(line, name, entry))
            listing.m_entries[name] = entry;
        start = end + 1;
    }
    return listing;
}

const RemoteListing::Entry* RemoteListing::find(const std::string& name) const
{
    const auto found = m_entries.find(name);
    return found == m_entries.end() ? nullptr : &found->second;
}
