#pragma once

#include "RedirectOutput.h"
#include "RedirectPlan.h"

// A _redirects file for Netlify and Cloudflare Pages: one line for each
// folder and page. Neither host can test whether a file exists, so no
// pattern could leave the other files alone.
class RedirectsFileRules : public RedirectOutput
{
public:
    // Cloudflare Pages reads at most this many static rules and this many
    // characters a line; Netlify asks for wildcards beyond about 10,000.
    static constexpr std::size_t CloudflareRuleLimit = 2000;
    static constexpr std::size_t NetlifyRuleLimit = 10000;
    static constexpr std::size_t LineLimit = 1000;

    explicit RedirectsFileRules(RedirectRun run) : m_plan(std::move(run), false) {}

    void addPage(const RelocationWindow::Page& page) override
    {
        m_plan.add(page.RelativePath, page.Url);
    }
    void addOtherFile(const RelocationWindow::Page& file) override
    {
        m_plan.addOtherFile(file.RelativePath, file.Url);
    }
    std::string text() const override;
    std::vector<std::string> warnings() const override;

private:
    std::size_t ruleCount() const;

    RedirectPlan m_plan;
};
