#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <unordered_map>

// Pages whose paths below the directory differ only in letter case
// ("Page.htm" and "page.htm", "SUB/a.htm" and "sub/a.htm"): a case-sensitive
// folder or share holds both, but Windows and most of its hosts keep one
// file for both names.
class CaseCollisions
{
public:
    // Records the page under its number; returns the number of an earlier
    // page whose path differs from this one only in letter case.
    std::optional<std::size_t> earlierPage(const std::string& relativePath, std::size_t number);

    // The path with letter case removed, as Windows compares names: ASCII and
    // Latin-1 letters everywhere, every letter the system knows on Windows.
    static std::string folded(const std::string& utf8);

private:
    std::unordered_map<std::string, std::size_t> m_pages;
};
