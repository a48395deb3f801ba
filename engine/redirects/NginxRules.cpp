#include "NginxRules.h"

#include "RedirectText.h"

std::string NginxRules::quoted(std::string_view text)
{
    std::string quoted = "\"";
    for (const char c : text) {
        if (c == '"' || c == '\\')
            quoted += '\\';
        quoted += c;
    }
    return quoted + '"';
}

std::string NginxRules::target(std::string_view url)
{
    return RedirectText::locationUrl(url, "$");
}

std::string NginxRules::text() const
{
    std::string text =
        "# Von Kelvane geschrieben: leitet jede alte Seite dauerhaft (301) an ihre neue\n"
        "# Adresse weiter. Im server-Block der alten Site vor den anderen\n"
        "# location-Blöcken einbinden: include ...nginx.conf;\n";
    // Exact locations win over the patterns, whatever their order.
    for (const RedirectPlan::Rule& folder : m_plan.folderRules())
        text += "location = " + quoted("/" + folder.Path) + " { return 301 " +
                quoted(target(folder.Url)) + "; }\n";
    for (const RedirectPlan::Rule& page : m_plan.pageRules())
        text += "location = " + quoted("/" + page.Path) + " { return 301 " +
                quoted(target(page.Url)) + "; }\n";

    const std::string base = target(m_plan.run().UrlText);
    for (const std::string& type : m_plan.patternTypes()) {
        const std::string suffix = RedirectText::literalPattern("." + type) + "$";
        // Only files that are there: an address that never was a page stays
        // a "not found".
        if (m_plan.patternsAppendPath())
            text += "location ~ " +
                    quoted("^/(?<kelvane>" + std::string(RedirectText::PlainClass) + "*" +
                           suffix.substr(0, suffix.size() - 1) + ")$") +
                    " { if (-f $request_filename) { return 301 " + quoted(base + "/$kelvane") +
                    "; } }\n";
        else
            text += "location ~ " + quoted(suffix) + " { if (-f $request_filename) { return 301 " +
                    quoted(base) + "; } }\n";
    }
    if (m_plan.coversEveryFile())
        text += "location ~ " +
                quoted("^/(?!" + std::string(RedirectPlan::LeftAlonePattern) + ")(?<kelvane>" +
                       RedirectText::PlainClass + "*" + RedirectPlan::PlainNameEnd + ")$") +
                " { if (-f $request_filename) { return 301 " +
                quoted(m_plan.patternsAppendPath() ? base + "/$kelvane" : base) + "; } }\n";
    return text;
}
