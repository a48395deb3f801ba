#pragma once

#include <cstddef>
#include <string>
#include <vector>

// What a run could not do, in the order it happened: pages that could not be
// written and folders that could not be listed. The run goes on past each.
class RunFailures
{
public:
    static constexpr std::size_t ShownInMessage = 10;

    // reason names the path and the system's reason.
    void pageFailed(const std::string& reason);
    void folderUnreadable(const std::string& reason);
    // A linked folder the walk did not enter: its pages are left out.
    void linkSkipped(const std::string& path);

    bool empty() const { return m_reasons.empty(); }
    std::size_t pages() const { return m_pages; }
    std::size_t folders() const { return m_reasons.size() - m_pages - m_links; }
    std::size_t links() const { return m_links; }
    const std::vector<std::string>& reasons() const { return m_reasons; }

    // One message: how many, then the first ten with their reasons.
    std::string message() const;

private:
    std::vector<std::string> m_reasons;
    std::size_t m_pages = 0;
    std::size_t m_links = 0;
};
