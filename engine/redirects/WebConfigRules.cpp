#include "WebConfigRules.h"

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
           "\" redirectType=\"Permanent\" appendQueryString=\"false\" />\n"
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

std::string WebConfigRules::text() const
{
    std::string map;
    for (const RedirectPlan::Rule& folder : m_plan.folderRules()) {
        if (!folder.Path.empty())
            map += "          <add key=\"" + attribute(folder.Path) + "\" value=\"" +
                   attribute(target(folder.Url)) + "\" />\n";
    }
    for (const RedirectPlan::Rule& page : m_plan.pageRules())
        map += "          <add key=\"" + attribute(page.Path) + "\" value=\"" +
               attribute(target(page.Url)) + "\" />\n";

    std::string rules;
    const std::vector<RedirectPlan::Rule> folders = m_plan.folderRules();
    if (!folders.empty() && folders.front().Path.empty())
        rules += "        <rule name=\"Kelvane Startseite\" stopProcessing=\"true\">\n"
                 "          <match url=\"^$\" />\n"
                 "          <action type=\"Redirect\" url=\"" +
                 attribute(target(folders.front().Url)) +
                 "\" redirectType=\"Permanent\" appendQueryString=\"false\" />\n"
                 "        </rule>\n";
    if (!map.empty())
        rules += "        <rule name=\"Kelvane Seiten\" stopProcessing=\"true\">\n"
                 "          <match url=\".+\" ignoreCase=\"false\" />\n"
                 "          <conditions>\n"
                 "            <add input=\"{KelvaneSeiten:{R:0}}\" pattern=\"(.+)\" />\n"
                 "          </conditions>\n"
                 "          <action type=\"Redirect\" url=\"{C:1}\" redirectType=\"Permanent\" "
                 "appendQueryString=\"false\" />\n"
                 "        </rule>\n";

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
                 "          </conditions>\n"
                 "          <action type=\"Redirect\" url=\"" +
                 attribute(base + (m_plan.patternsAppendPath() ? "/{R:1}" : "")) +
                 "\" redirectType=\"Permanent\" appendQueryString=\"false\" />\n"
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
