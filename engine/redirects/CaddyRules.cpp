#include "CaddyRules.h"

#include "RedirectText.h"
#include "TextCodec.h"

std::string CaddyRules::target(std::string_view url)
{
    return RedirectText::locationUrl(url, "{}\"\\");
}

std::string CaddyRules::matcher(std::string_view relativePath)
{
    // Caddy's regular expressions match decoded text as UTF-8 and cannot
    // name a single byte that is not; such a path is matched in its encoded
    // form instead, which the path matcher compares byte by byte.
    if (TextCodec::isValidUtf8(relativePath))
        return "path_regexp ^/" + RedirectText::literalPattern(relativePath) + "$";
    return "path /" + RedirectText::encodedPath(relativePath);
}

std::string CaddyRules::text() const
{
    std::string text =
        "# Von Kelvane geschrieben: leitet jede alte Seite dauerhaft (301) an ihre neue\n"
        "# Adresse weiter. Im Site-Block der alten Site einbinden: import ...Caddyfile\n";
    // Caddy runs redir directives with named matchers in the order written:
    // single pages first, the patterns would also match them.
    std::size_t number = 0;
    auto addRule = [&](const RedirectPlan::Rule& rule) {
        const std::string name = "@kelvane_" + std::to_string(++number);
        text += name + " " + matcher(rule.Path) + "\n";
        text += "redir " + name + " \"" + target(rule.Url) + "\" 301\n";
    };
    for (const RedirectPlan::Rule& folder : m_plan.folderRules())
        addRule(folder);
    for (const RedirectPlan::Rule& page : m_plan.pageRules())
        addRule(page);

    const std::string base = target(m_plan.run().UrlText);
    std::size_t typeNumber = 0;
    for (const std::string& type : m_plan.patternTypes()) {
        const std::string name = "kelvane_type_" + std::to_string(++typeNumber);
        const std::string suffix = RedirectText::literalPattern("." + type);
        text += "@" + name + " {\n";
        if (m_plan.patternsAppendPath())
            text +=
                "\tpath_regexp " + name + " ^/(" + RedirectText::PlainClass + "*" + suffix + ")$\n";
        else
            text += "\tpath_regexp " + suffix + "$\n";
        // Only files that are there: an address that never was a page stays
        // a "not found".
        text += "\tfile\n}\n";
        text += "redir @" + name + " \"" + base +
                (m_plan.patternsAppendPath() ? "/{re." + name + ".1}" : "") + "\" 301\n";
    }
    if (m_plan.coversEveryFile()) {
        // Go's expressions know no lookahead: what stays is a matcher of its own.
        text += "@kelvane_every_file {\n"
                "\tpath_regexp kelvane_every_file ^/(" +
                std::string(RedirectText::PlainClass) + "*" + RedirectPlan::PlainNameEnd +
                ")$\n"
                "\tnot path_regexp ^/(?:" +
                RedirectPlan::LeftAlonePattern + ")\n\tfile\n}\n";
        text += "redir @kelvane_every_file \"" + base +
                (m_plan.patternsAppendPath() ? "/{re.kelvane_every_file.1}" : "") + "\" 301\n";
    }
    return text;
}
