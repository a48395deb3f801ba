#pragma once

#include "RelocationWindow.h"

#include <string>
#include <vector>

// One extra file a run writes beside its pages (server rules, a report). It
// is fed every page as the run writes it and renders the whole file at the
// end.
class RedirectOutput
{
public:
    virtual ~RedirectOutput() = default;

    // A part of the output written beside the file, before it, for a
    // file that names its parts (a sitemap index).
    struct Part
    {
        std::string FileName;
        std::string Text;
    };

    virtual void addPage(const RelocationWindow::Page& page) = 0;
    // A file of the site that is not a page, when the run moves every file.
    virtual void addOtherFile(const RelocationWindow::Page& /*file*/) {}
    virtual std::string text() const = 0;
    virtual std::vector<Part> parts() const { return {}; }
    // Limits of the host the file cannot keep to, in German, one per line.
    virtual std::vector<std::string> warnings() const { return {}; }
};
