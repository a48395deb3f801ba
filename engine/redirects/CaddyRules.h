#pragma once

#include "RedirectOutput.h"
#include "RedirectPlan.h"

// A snippet to import inside the old site's block in a Caddyfile: one named
// matcher and redir for each folder and single page, one per file type.
class CaddyRules : public RedirectOutput
{
public:
    // Caddy's file test finds no file whose name holds a backslash, so such
    // a page gets a rule of its own.
    explicit CaddyRules(RedirectRun run) : m_plan(std::move(run), true, "\\") {}

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

    // The matcher for exactly this UTF-8 path below the site root.
    static std::string matcher(std::string_view relativePath);
    // The Location, with "{" and "}" encoded: Caddy would read placeholders.
    static std::string target(std::string_view url);

private:
    RedirectPlan m_plan;
};
