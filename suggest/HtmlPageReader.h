#pragma once

#include "PageContent.h"

#include <string_view>

// Reads a page with an HTML5 parser (libgumbo), as browsers build it, so
// that unclosed tags, comments and scripts are taken as a browser takes
// them. Scripts, styles, <nav> and <footer> say nothing about the page.
class HtmlPageReader
{
public:
    // utf8: the page as UTF-8 text (see PageCharset).
    static PageContent read(std::string_view utf8);
};
