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

    virtual void addPage(const RelocationWindow::Page& page) = 0;
    virtual std::string text() const = 0;
    // Limits of the host the file cannot keep to, in German, one per line.
    virtual std::vector<std::string> warnings() const { return {}; }
};
