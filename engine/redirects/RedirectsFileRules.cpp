#include "RedirectsFileRules.h"

#include "RedirectText.h"

namespace {

// Both hosts want the old path percent-encoded; the "!" makes Netlify
// redirect although the replacement page exists at that address.
std::string line(const RedirectPlan::Rule& rule)
{
    return "/" + RedirectText::encodedPath(rule.Path) + " " + RedirectText::locationUrl(rule.Url) +
           " 301!\n";
}

} // namespace

std::size_t RedirectsFileRules::ruleCount() const
{
    return m_plan.folderRules().size() + m_plan.pageRules().size();
}

std::string RedirectsFileRules::text() const
{
    std::string text = "# Von Kelvane geschrieben: leitet jede alte Seite dauerhaft (301) an ihre\n"
                       "# neue Adresse weiter (Netlify, Cloudflare Pages).\n";
    for (const RedirectPlan::Rule& folder : m_plan.folderRules())
        text += line(folder);
    for (const RedirectPlan::Rule& page : m_plan.pageRules())
        text += line(page);
    return text;
}

std::vector<std::string> RedirectsFileRules::warnings() const
{
    std::vector<std::string> warnings;
    const std::size_t count = ruleCount();
    if (count > NetlifyRuleLimit)
        warnings.push_back("_redirects: " + std::to_string(count) +
                           " Weiterleitungen; Netlify empfiehlt ab etwa 10000 Platzhalter, "
                           "Cloudflare Pages liest nur die ersten 2000.");
    else if (count > CloudflareRuleLimit)
        warnings.push_back("_redirects: " + std::to_string(count) +
                           " Weiterleitungen; Cloudflare Pages liest nur die ersten 2000.");
    std::size_t tooLong = 0;
    for (const RedirectPlan::Rule& rule : m_plan.pageRules())
        tooLong += line(rule).size() - 1 > LineLimit;
    if (tooLong > 0)
        warnings.push_back("_redirects: " + std::to_string(tooLong) +
                           " Zeilen sind länger als 1000 Zeichen; Cloudflare Pages übergeht sie.");
    return warnings;
}
