#pragma once

#include <string>
#include <string_view>
#include <vector>

// Pages and folders whose address or name a host's rules cannot carry
// safely. They get no rule, so that no rule matches anything but its own
// address; the replacement page stays their redirect, and the run says so.
class LeftOutPages
{
public:
    explicit LeftOutPages(std::string_view fileName) : m_fileName(fileName) {}

    // path: below the output root, a folder ending in "/".
    void add(std::string_view path) { m_paths.emplace_back(path); }
    // One warning naming the count and the first paths, or none.
    std::vector<std::string> warnings() const;

private:
    std::string m_fileName;
    std::vector<std::string> m_paths;
};
