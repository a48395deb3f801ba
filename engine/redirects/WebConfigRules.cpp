#include "WebConfigRules.h"

#include "LeftOutPages.h"
#include "RedirectText.h"
#include "TextCodec.h"

namespace {

// After the type rules: any other file that exists goes to its address.
std::string everyFileRule(const std::string& base, bool appendsPath)
{
    const std::string pattern = "^(?!" + std::string(RedirectPlan::LeftAlonePattern) + ")(" +
                                RedirectText::PlainClass + "*" + RedirectPlan::PlainNameEnd + ")$";
    return "        <rule name=\"Kelvane alle Dateien\" stopProcessing=\"true\">\n"
           "          <match url=\"" +
           WebConfigRules::attribute(pattern) +
           "\" ignoreCase=\"false\" />\n"
           "          <conditions>\n"
           "            <add input=\"{REQUEST_FILENAME}\" matchType=\"IsFile\" />\n"
           "          </conditions>\n"
           "          <action type=\"Redirect\" url=\"" +
           WebConfigRules::attribute(base + (appendsPath ? "/{R:1}" : "")) +
           "\" redirectType=\"Permanent\" appendQueryString=\"true\" />\n"
           "        </rule>\n";
}

} // namespace

std::string WebConfigRules::attribute(std::string_view text)
{
    const std::string utf8(TextCodec::isValidUtf8(text)
                               ? std::string(text)
                               : TextCodec::toUtf8(text, TextCodec::Encoding::Windows1252));
    std::string escaped;
    for (const char c : utf8) {
        const auto byte = static_cast<unsigned char>(c);
        switch (c) {
        case '&':
            escaped += "&amp;";
            break;
        case '<':
            escaped += "&lt;";
            break;
        case '>':
            escaped += "&gt;";
            break;
        case '"':
            escaped += "&quot;";
            break;
        case '\'':
            escaped += "&apos;";
            break;
        default:
            // XML 1.0 allows no control characters but tab, line feed and
            // carriage return, and an attribute value would fold those.
            if (byte >= 0x20) {
                escaped += c;
            } else if (byte == '\t' || byte == '\n' || byte == '\r') {
                escaped += "&#x";
                RedirectText::appendHex(escaped, byte);
                escaped += ';';
            }
        }
    }
    return escaped;
}

std::string WebConfigRules::target(std::string_view url)
{
    return RedirectText::locationUrl(url, "{}");
}

namespace {

// IIS reads a name that is not UTF-8 in the server's code page, and XML
// holds no control characters in an attribute: two pages could share a
// key, and IIS refuses a map with a key twice for the whole site. Such an
// address gets no rule.
bool carries(const RedirectPlan::Rule& address)
{
    if (!TextCodec::isValidUtf8(address.Path))
        return false;
    for (const char c : address.Path) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F)
            return false;
    }
    return true;
}

std::string redirect(const std::string& url, bool appendQuery)
{
    return "          <action type=\"Redirect\" url=\"" + WebConfigRules::attribute(url) +
           "\" redirectType=\"Permanent\" appendQueryString=\"" + (appendQuery ? "true" : "false") +
           "\" />\n";
}

// The map's value is the whole Location. With a query, the conditions take
// it apart (the last condition's groups are {C:1} and {C:2}): the visitor's
// query goes after the Location's own and before its fragment. Each kind of
// Location has its rule: no query, an empty query, a query of its own.
std::string mapRules()
{
    struct Kind
    {
        const char* Name;
        const char* Pattern;
        const char* Url;
    };
    const Kind kinds[] = {
        {"Kelvane Seiten mit Anfrage", "^([^#?]*)(#.*)?$", "{C:1}?{QUERY_STRING}{C:2}"},
        {"Kelvane Seiten mit leerer Anfrage", "^([^#?]*\\?)(#.*)?$", "{C:1}{QUERY_STRING}{C:2}"},
        {"Kelvane Seiten mit eigener Anfrage", "^([^#?]*\\?[^#]+)(#.*)?$",
         "{C:1}&amp;{QUERY_STRING}{C:2}"},
    };
    std::string rules;
    for (const Kind& kind : kinds)
        rules += std::string("        <rule name=\"") + kind.Name +
                 "\" stopProcessing=\"true\">\n"
                 "          <match url=\".+\" ignoreCase=\"false\" />\n"
                 "          <conditions>\n"
                 "            <add input=\"{QUERY_STRING}\" pattern=\".\" />\n"
                 "            <add input=\"{KelvaneSeiten:{R:0}}\" pattern=\"" +
                 kind.Pattern +
                 "\" />\n"
                 "          </conditions>\n"
                 "          <action type=\"Redirect\" url=\"" +
                 kind.Url +
                 "\" redirectType=\"Permanent\" appendQueryString=\"false\" />\n"
                 "        </rule>\n";
    return rules +
           "        <rule name=\"Kelvane Seiten\" stopProcessing=\"true\">\n"
           "          <match url=\".+\" ignoreCase=\"false\" />\n"
           "          <conditions>\n"
           "            <add input=\"{KelvaneSeiten:{R:0}}\" pattern=\"(.+)\" />\n"
           "          </conditions>\n" +
           redirect("{C:1}", false) + "        </rule>\n";
}

std::string rootRules(const std::string& location)
{
    const RedirectText::QuerySplice splice = RedirectText::querySplice(location);
    return "        <rule name=\"Kelvane Startseite mit Anfrage\" stopProcessing=\"true\">\n"
           "          <match url=\"^$\" />\n"
           "          <conditions>\n"
           "            <add input=\"{QUERY_STRING}\" pattern=\".\" />\n"
           "          </conditions>\n" +
           redirect(splice.Before + "{QUERY_STRING}" + splice.After, false) +
           "        </rule>\n"
           "        <rule name=\"Kelvane Startseite\" stopProcessing=\"true\">\n"
           "          <match url=\"^$\" />\n" +
           redirect(location, false) + "        </rule>\n";
}

} // namespace

std::string WebConfigRules::text() const
{
    std::string map;
    const auto add = [&](const RedirectPlan::Rule& address) {
        if (!address.Path.empty() && carries(address))
            map += "          <add key=\"" + attribute(address.Path) + "\" value=\"" +
                   attribute(target(address.Url)) + "\" />\n";
    };
    for (const RedirectPlan::Rule& folder : m_plan.folderRules())
        add(folder);
    for (const RedirectPlan::Rule& page : m_plan.pageRules())
        add(page);

    std::string rules;
    const std::vector<RedirectPlan::Rule> folders = m_plan.folderRules();
    if (!folders.empty() && folders.front().Path.empty())
        rules += rootRules(target(folders.front().Url));
    if (!map.empty())
        rules += mapRules();

    // The URL text of the patterns has no query or fragment: IIS appends
    // the visitor's query with "?".
    const std::string base = target(m_plan.run().UrlText);
    std::size_t number = 0;
    for (const std::string& type : m_plan.patternTypes()) {
        const std::string suffix = RedirectText::literalPattern("." + type);
        const std::string pattern =
            m_plan.patternsAppendPath()
                ? "^(" + std::string(RedirectText::PlainClass) + "*" + suffix + ")$"
                : suffix + "$";
        rules += "        <rule name=\"Kelvane Typ " + std::to_string(++number) +
                 "\" stopProcessing=\"true\">\n"
                 "          <match url=\"" +
                 attribute(pattern) +
                 "\" ignoreCase=\"false\" />\n"
                 "          <conditions>\n"
                 "            <add input=\"{REQUEST_FILENAME}\" matchType=\"IsFile\" />\n"
                 "          </conditions>\n" +
                 redirect(base + (m_plan.patternsAppendPath() ? "/{R:1}" : ""), true) +
                 "        </rule>\n";
    }
    if (m_plan.coversEveryFile())
        rules += everyFileRule(base, m_plan.patternsAppendPath());

    std::string text = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                       "<!-- Von Kelvane geschrieben: leitet jede alte Seite dauerhaft (301) an "
                       "ihre neue Adresse weiter (IIS, Modul URL Rewrite). -->\n"
                       "<configuration>\n"
                       "  <system.webServer>\n"
                       "    <rewrite>\n";
    if (!map.empty())
        text += "      <rewriteMaps>\n"
                "        <rewriteMap name=\"KelvaneSeiten\" ignoreCase=\"false\">\n" +
                map + "        </rewriteMap>\n      </rewriteMaps>\n";
    return text + "      <rules>\n" + rules +
           "      </rules>\n    </rewrite>\n"
           "  </system.webServer>\n</configuration>\n";
}

std::vector<std::string> WebConfigRules::warnings() const
{
    return LeftOutPages::warnings("web.config", m_plan, [this](const RedirectPlan::Rule& address) {
        return carries(address);
    });
}
