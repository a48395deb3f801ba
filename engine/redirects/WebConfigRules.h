#pragma once

#include "RedirectOutput.h"
#include "RedirectPlan.h"

// A web.config for the output root with rules for the IIS URL Rewrite
// module: a rewrite map for folders and single pages, one rule per file
// type. IIS matches the decoded path relative to the folder of web.config.
class WebConfigRules : public RedirectOutput
{
public:
    explicit WebConfigRules(RedirectRun run) : m_plan(std::move(run), true) {}

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

    // Text for an XML attribute value; a path that is not UTF-8 is read as
    // Windows-1252 (the rules leave such pages out).
    static std::string attribute(std::string_view text);
    // The Location, with "{" and "}" encoded: IIS would read server
    // variables.
    static std::string target(std::string_view url);

private:
    RedirectPlan m_plan;
};
