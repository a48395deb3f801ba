#pragma once

#include <string>
#include <string_view>

// A CSV list of the pages of a run: old path, output path and page URL.
class PageReport
{
public:
    PageReport();

    void add(std::string_view sourcePath, std::string_view targetPath, std::string_view url);
    const std::string& text() const { return m_text; }

private:
    void appendField(std::string_view field);

    std::string m_text;
};
