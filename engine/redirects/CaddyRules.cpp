#include "CaddyRules.h"

#include "LeftOutPages.h"
#include "RedirectText.h"
#include "TextCodec.h"

namespace {

// Caddy's redir drops the visitor's query unless the target names it; a
// matcher that also asks for a query sends it on.
constexpr const char* HasQuery = "\texpression {query} != \"\"\n";

// A regular expression for exactly this UTF-8 text, in ASCII alone: Caddy
// splits a line at any Unicode white space, so every character from U+0080
// is written as \x{...}, and every ASCII one but letters, digits, "/", "_"
// and "-" as \xHH.
std::string asciiPattern(std::string_view utf8)
{
    static constexpr char Hex[] = "0123456789ABCDEF";
    std::string pattern;
    std::size_t at = 0;
    while (at < utf8.size()) {
        const auto lead = static_cast<unsigned char>(utf8[at]);
        if (lead < 0x80) {
            pattern += RedirectText::literalPattern(utf8.substr(at, 1));
            ++at;
            continue;
        }
        const std::size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : 2;
        char32_t codePoint = lead & (0x7F >> length);
        for (std::size_t i = 1; i < length; ++i)
            codePoint = (codePoint << 6) | (static_cast<unsigned char>(utf8[at + i]) & 0x3F);
        std::string digits;
        for (; codePoint != 0; codePoint >>= 4)
            digits.insert(digits.begin(), Hex[codePoint & 0x0F]);
        pattern += "\\x{" + digits + "}";
        at += length;
    }
    return pattern;
}

// A name that is not UTF-8 cannot be matched: Caddy's regular expressions
// read such a byte as U+FFFD, and its path matcher compares escaped names
// in lower case and as prefixes. Such an address gets no rule.
bool carries(const RedirectPlan::Rule& address)
{
    return TextCodec::isValidUtf8(address.Path);
}

} // namespace

std::string CaddyRules::target(std::string_view url)
{
    return RedirectText::locationUrl(url, "{}\"\\");
}

std::string CaddyRules::matcher(std::string_view relativePath)
{
    return "path_regexp ^/" + asciiPattern(relativePath) + "$";
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
        if (!carries(rule))
            return;
        const std::string name = "@kelvane_" + std::to_string(++number);
        const std::string location = target(rule.Url);
        const RedirectText::QuerySplice splice = RedirectText::querySplice(location);
        text += name + "_q {\n\t" + matcher(rule.Path) + "\n" + HasQuery + "}\n";
        text += "redir " + name + "_q \"" + splice.Before + "{query}" + splice.After + "\" 301\n";
        text += name + " " + matcher(rule.Path) + "\n";
        text += "redir " + name + " \"" + location + "\" 301\n";
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
        const std::string redirect =
            base + (m_plan.patternsAppendPath() ? "/{re." + name + ".1}" : "");
        std::string match;
        if (m_plan.patternsAppendPath())
            match =
                "\tpath_regexp " + name + " ^/(" + RedirectText::PlainClass + "*" + suffix + ")$\n";
        else
            match = "\tpath_regexp " + suffix + "$\n";
        // Only files that are there: an address that never was a page stays
        // a "not found".
        match += "\tfile\n";
        text += "@" + name + "_q {\n" + match + HasQuery + "}\n";
        text += "redir @" + name + "_q \"" + redirect + "?{query}\" 301\n";
        text += "@" + name + " {\n" + match + "}\n";
        text += "redir @" + name + " \"" + redirect + "\" 301\n";
    }
    if (m_plan.coversEveryFile()) {
        // Go's expressions know no lookahead: what stays is a matcher of its own.
        const std::string match = "\tpath_regexp kelvane_every_file ^/(" +
                                  std::string(RedirectText::PlainClass) + "*" +
                                  RedirectPlan::PlainNameEnd +
                                  ")$\n"
                                  "\tnot path_regexp ^/(?:" +
                                  RedirectPlan::LeftAlonePattern + ")\n\tfile\n";
        const std::string redirect =
            base + (m_plan.patternsAppendPath() ? "/{re.kelvane_every_file.1}" : "");
        text += "@kelvane_every_file_q {\n" + match + HasQuery + "}\n";
        text += "redir @kelvane_every_file_q \"" + redirect + "?{query}\" 301\n";
        text += "@kelvane_every_file {\n" + match + "}\n";
        text += "redir @kelvane_every_file \"" + redirect + "\" 301\n";
    }
    return text;
}

std::vector<std::string> CaddyRules::warnings() const
{
    return LeftOutPages::warnings(".Caddyfile", m_plan, [this](const RedirectPlan::Rule& address) {
        return carries(address);
    });
}
