#include "HtaccessRules.h"

#include "LeftOutPages.h"
#include "RedirectText.h"

#include <cstring>

namespace {

// Apache refuses the whole file, answering 500 for every address, when one
// line is longer than its buffer of 8192 bytes.
constexpr std::size_t LineLimit = 8000;

std::string rule(const std::string& pattern, const std::string& target,
                 const char* flags = "[R=301,L,NE]")
{
    return "RewriteRule \"" + pattern + "\" \"" + target + "\" " + flags + "\n";
}

// The pattern rules let mod_rewrite percent-encode the back-reference (no
// NE flag): it encodes a space and bytes from 0x80 exactly as the page URL
// has them, so names with spaces and umlauts need no rule of their own.
constexpr const char* PatternClass = "[A-Za-z0-9._~/!()+,;=:@ \\x80-\\xFF-]";
constexpr const char* PatternNameEnd = "[A-Za-z0-9._~!()+,;=:@ \\x80-\\xFF-]";

bool apachePatternSafe(std::string_view path)
{
    for (const char c : path) {
        if (c != ' ' && static_cast<unsigned char>(c) < 0x80 && !RedirectText::isPlainPath({&c, 1}))
            return false;
    }
    return true;
}

// mod_rewrite would encode the URL text of a pattern rule again; one that
// holds an escape gets rules per page instead.
bool patternsCanCarry(const std::string& urlText)
{
    return RedirectText::locationUrl(urlText).find('%') == std::string::npos;
}

// "%" and "$" would start back-references; a backslash keeps them.
std::string keptLiterally(std::string_view location)
{
    std::string target;
    for (const char c : location) {
        if (c == '%' || c == '$')
            target += '\\';
        target += c;
    }
    return target;
}

bool linesFit(const std::string& text)
{
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find('\n', start);
        if (end - start > LineLimit)
            return false;
        start = end + 1;
    }
    return true;
}

// The rules for one address, or the empty text when a line would be too
// long. Apache appends the visitor's query to a target without one itself;
// it would put it behind a fragment, so such a target gets the query placed
// by a rule of its own.
std::string rulesFor(const RedirectPlan::Rule& address)
{
    const std::string pattern = HtaccessRules::pattern(address.Path);
    const std::string location = RedirectText::locationUrl(address.Url);
    std::string text;
    if (RedirectText::hasQueryOrFragment(location)) {
        const RedirectText::QuerySplice splice = RedirectText::querySplice(location);
        text = "RewriteCond %{QUERY_STRING} .\n" +
               rule(pattern,
                    keptLiterally(splice.Before) + "%{QUERY_STRING}" + keptLiterally(splice.After));
    }
    text += rule(pattern, keptLiterally(location));
    return linesFit(text) ? text : std::string();
}

} // namespace

HtaccessRules::HtaccessRules() : m_plan({}, false) {}

HtaccessRules::HtaccessRules(RedirectRun run)
    : m_plan(run, patternsCanCarry(run.UrlText), {}, &apachePatternSafe)
{}

void HtaccessRules::add(std::string_view relativePath, std::string_view pageUrl)
{
    m_plan.add(relativePath, pageUrl);
}

std::string HtaccessRules::text() const
{
    std::string text =
        "# Von Kelvane geschrieben: leitet jede alte Seite dauerhaft (301) an ihre neue\n"
        "# Adresse weiter. Ohne mod_rewrite leiten die Seiten selbst weiter.\n"
        "<IfModule mod_rewrite.c>\n"
        "RewriteEngine On\n";
    // Rules of single pages and folders come first: the patterns below would
    // also match a page that has an address of its own. One left without a
    // rule is kept from the patterns, so that its page answers.
    const auto add = [&](const RedirectPlan::Rule& address) {
        const std::string rules = rulesFor(address);
        const std::string keep = rule(pattern(address.Path), "-", "[L]");
        if (!rules.empty())
            text += rules;
        else if (linesFit(keep))
            text += keep;
    };
    for (const RedirectPlan::Rule& folder : m_plan.folderRules())
        add(folder);
    for (const RedirectPlan::Rule& page : m_plan.pageRules())
        add(page);

    const std::string base = target(m_plan.run().UrlText);
    for (const std::string& type : m_plan.patternTypes()) {
        // Only files that are there: an address that never was a page stays
        // a "not found".
        text += "RewriteCond %{REQUEST_FILENAME} -f\n";
        const std::string exact = pattern("." + type);
        const std::string suffix = exact.substr(1, exact.size() - 2);
        if (m_plan.patternsAppendPath())
            text += rule("^(" + std::string(PatternClass) + "*" + suffix + ")$", base + "/$1",
                         "[R=301,L]");
        else
            text += rule(suffix + "$", base);
    }
    if (m_plan.coversEveryFile()) {
        text += "RewriteCond %{REQUEST_FILENAME} -f\n";
        const std::string everyFile = "^(?!" + std::string(RedirectPlan::LeftAlonePattern) + ")(" +
                                      PatternClass + "*" + PatternNameEnd + ")$";
        if (m_plan.patternsAppendPath())
            text += rule(everyFile, base + "/$1", "[R=301,L]");
        else
            text += rule(everyFile, base);
    }
    return text + "</IfModule>\n";
}

std::vector<std::string> HtaccessRules::warnings() const
{
    return LeftOutPages::warnings(".htaccess", m_plan, [this](const RedirectPlan::Rule& address) {
        return !rulesFor(address).empty();
    });
}

std::string HtaccessRules::pattern(std::string_view relativePath)
{
    std::string pattern = "^";
    for (const char c : relativePath) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F || c == '"') {
            // Written as an escape, so that no name can break the line or the
            // quoted argument (Apache takes no \" inside quotes).
            pattern += "\\x";
            RedirectText::appendHex(pattern, byte);
        } else if (std::strchr("\\.^$|?*+()[]{}", c) != nullptr) {
            pattern += '\\';
            pattern += c;
        } else {
            pattern += c;
        }
    }
    return pattern + "$";
}

std::string HtaccessRules::target(std::string_view pageUrl)
{
    return keptLiterally(RedirectText::locationUrl(pageUrl));
}
