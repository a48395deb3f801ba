#pragma once

#include <string>
#include <vector>

// What a page says, as a reader sees it: its title, its main headings and
// the blocks of its text (paragraphs, list items, cells), each as UTF-8 text
// with its white space collapsed.
struct PageContent
{
    std::string Title;
    std::vector<std::string> Headings;
    std::vector<std::string> Blocks;
};
