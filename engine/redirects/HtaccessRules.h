#pragma once

#include "RedirectOutput.h"
#include "RedirectPlan.h"

#include <string>
#include <string_view>

// An .htaccess file for the output root that answers every old page, and
// every folder whose index page moved, with a permanent redirect to its new
// URL (mod_rewrite). The rules are per-directory, so they work wherever the
// folder is served from: the server root or a user folder.
class HtaccessRules : public RedirectOutput
{
public:
    // Without the run, every page gets its own rule.
    HtaccessRules();
    explicit HtaccessRules(RedirectRun run);

    // relativePath: the page below the output root, levels joined by "/".
    void add(std::string_view relativePath, std::string_view pageUrl);
    void addPage(const RelocationWindow::Page& page) override { add(page.RelativePath, page.Url); }
    void addOtherFile(const RelocationWindow::Page& file) override
    {
        m_plan.addOtherFile(file.RelativePath, file.Url);
    }
    std::string text() const override;
    // The pages left without a rule.
    std::vector<std::string> warnings() const override;

    // A pattern matching exactly this path, as Apache compares it: decoded,
    // relative to the folder of the .htaccess file.
    static std::string pattern(std::string_view relativePath);
    // The URL percent-encoded for the Location header, with the characters
    // that mod_rewrite would expand escaped.
    static std::string target(std::string_view pageUrl);

private:
    RedirectPlan m_plan;
};
