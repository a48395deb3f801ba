#pragma once

#include "RedirectOutput.h"
#include "RedirectPlan.h"

// A snippet for the old site's server { } block in nginx: exact locations
// for folders and single pages, one regular-expression location per file
// type. nginx matches locations against the decoded path from the site root.
class NginxRules : public RedirectOutput
{
public:
    explicit NginxRules(RedirectRun run) : m_plan(std::move(run), true) {}

    void addPage(const RelocationWindow::Page& page) override
    {
        m_plan.add(page.RelativePath, page.Url);
    }
    void addOtherFile(const RelocationWindow::Page& file) override
    {
        m_plan.addOtherFile(file.RelativePath, file.Url);
    }
    std::string text() const override;
    // The pages left without a rule.
    std::vector<std::string> warnings() const override;

    // A double-quoted nginx string holding the text literally.
    static std::string quoted(std::string_view text);
    // The Location, with "$" encoded: nginx would read it as a variable.
    static std::string target(std::string_view url);

private:
    RedirectPlan m_plan;
};
