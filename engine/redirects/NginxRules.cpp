#include "NginxRules.h"

#include "LeftOutPages.h"
#include "RedirectText.h"

namespace {

// nginx will not start when one word of its configuration (a quoted string
// among them) outgrows its read buffer of 4096 bytes.
constexpr std::size_t WordLimit = 4000;

// Exact locations of about 255 bytes and more are not matched reliably (the
// lookup tree keeps a name's length in one byte); such a path is matched by
// a regular expression, which nginx tries before the type patterns below.
constexpr std::size_t ExactLimit = 250;

bool fits(const std::string& word)
{
    return word.size() <= WordLimit;
}

// "location = ..." or "location ~ ...", matching exactly this path.
std::string locationMatching(std::string_view relativePath)
{
    const std::string path = "/" + std::string(relativePath);
    if (path.size() <= ExactLimit)
        return "location = " + NginxRules::quoted(path);
    return "location ~ " +
           NginxRules::quoted("^/" + RedirectText::literalPattern(relativePath) + "$");
}

// The location for one address, or the empty text when a word would be too
// long. nginx's return drops the visitor's query unless the target names it.
std::string locationFor(const RedirectPlan::Rule& address)
{
    const std::string path = locationMatching(address.Path);
    const std::string location = NginxRules::target(address.Url);
    const std::string plain = NginxRules::quoted(location);
    if (!RedirectText::hasQueryOrFragment(location)) {
        const std::string withQuery = NginxRules::quoted(location + "$is_args$args");
        if (!fits(path) || !fits(withQuery))
            return {};
        return path + " { return 301 " + withQuery + "; }\n";
    }
    const RedirectText::QuerySplice splice = RedirectText::querySplice(location);
    const std::string withQuery = NginxRules::quoted(splice.Before + "$args" + splice.After);
    if (!fits(path) || !fits(withQuery) || !fits(plain))
        return {};
    return path + " { if ($args) { return 301 " + withQuery + "; } return 301 " + plain + "; }\n";
}

} // namespace

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
    // Exact locations win over the patterns, whatever their order; an empty
    // one keeps an address without a rule from the patterns.
    const auto add = [&](const RedirectPlan::Rule& address) {
        const std::string location = locationFor(address);
        const std::string path = locationMatching(address.Path);
        if (!location.empty())
            text += location;
        else if (fits(path))
            text += path + " { }\n";
    };
    for (const RedirectPlan::Rule& folder : m_plan.folderRules())
        add(folder);
    for (const RedirectPlan::Rule& page : m_plan.pageRules())
        add(page);

    const std::string base = target(m_plan.run().UrlText);
    for (const std::string& type : m_plan.patternTypes()) {
        const std::string suffix = RedirectText::literalPattern("." + type) + "$";
        // Only files that are there: an address that never was a page stays
        // a "not found".
        if (m_plan.patternsAppendPath())
            text += "location ~ " +
                    quoted("^/(?<kelvane>" + std::string(RedirectText::PlainClass) + "*" +
                           suffix.substr(0, suffix.size() - 1) + ")$") +
                    " { if (-f $request_filename) { return 301 " +
                    quoted(base + "/$kelvane$is_args$args") + "; } }\n";
        else
            text += "location ~ " + quoted(suffix) + " { if (-f $request_filename) { return 301 " +
                    quoted(base + "$is_args$args") + "; } }\n";
    }
    if (m_plan.coversEveryFile())
        text +=
            "location ~ " +
            quoted("^/(?!" + std::string(RedirectPlan::LeftAlonePattern) + ")(?<kelvane>" +
                   RedirectText::PlainClass + "*" + RedirectPlan::PlainNameEnd + ")$") +
            " { if (-f $request_filename) { return 301 " +
            quoted((m_plan.patternsAppendPath() ? base + "/$kelvane" : base) + "$is_args$args") +
            "; } }\n";
    return text;
}

std::vector<std::string> NginxRules::warnings() const
{
    return LeftOutPages::warnings(".nginx.conf", m_plan, [this](const RedirectPlan::Rule& address) {
        return !locationFor(address).empty();
    });
}
