#include "RobotsTxt.h"

#include "AsciiCase.h"
#include "BrowserUrl.h"


namespace {

std::string_view trimmed(std::string_view text)
{
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r'))
        text.remove_suffix(1);
    return text;
}

// Whether pattern matches the start of path; on a mismatch after a "*" the
// star takes one more character, so the work stays within their product.
bool matches(std::string_view pattern, std::string_view path)
{
    const bool anchored = !pattern.empty() && pattern.back() == '$';
    if (anchored)
        pattern.remove_suffix(1);
    std::size_t p = 0;
    std::size_t s = 0;
    std::size_t star = std::string_view::npos;
    std::size_t starPath = 0;
    while (true) {
        if (p == pattern.size() && (!anchored || s == path.size()))
            return true;
        if (p < pattern.size() && pattern[p] == '*') {
            star = p++;
            starPath = s;
        } else if (p < pattern.size() && s < path.size() && pattern[p] == path[s]) {
            ++p;
            ++s;
        } else if (star != std::string_view::npos && starPath < path.size()) {
            p = star + 1;
            s = ++starPath;
        } else {
            return false;
        }
    }
}

} // namespace

RobotsTxt RobotsTxt::parse(std::string_view text, std::string_view crawler)
{
    RobotsTxt own;
    RobotsTxt everyone;
    bool ownGroupSeen = false;
    bool forOwn = false;
    bool forEveryone = false;
    bool inAgentLines = false;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        line = line.substr(0, line.find('#'));
        const std::size_t colon = line.find(':');
        if (colon == std::string_view::npos)
            continue;
        const std::string key = asciiLowered(trimmed(line.substr(0, colon)));
        const std::string_view value = trimmed(line.substr(colon + 1));
        if (key == "user-agent") {
            if (!inAgentLines)
                forOwn = forEveryone = false;
            inAgentLines = true;
            const std::string agent = asciiLowered(value.substr(0, value.find_first_of(" /\t")));
            if (agent == crawler) {
                forOwn = true;
                ownGroupSeen = true;
            }
            forEveryone = forEveryone || agent == "*";
            continue;
        }
        inAgentLines = false;
        if ((key != "allow" && key != "disallow") || value.empty())
            continue;
        const Rule rule{BrowserUrl::encode(value), key == "allow"};
        if (forOwn)
            own.m_rules.push_back(rule);
        if (forEveryone)
            everyone.m_rules.push_back(rule);
    }
    return ownGroupSeen ? own : everyone;
}

bool RobotsTxt::allows(std::string_view pathAndQuery) const
{
    const std::string path = BrowserUrl::encode(pathAndQuery);
    if (path == "/robots.txt")
        return true;
    const Rule* winner = nullptr;
    for (const Rule& rule : m_rules) {
        if (!matches(rule.Pattern, path))
            continue;
        if (!winner || rule.Pattern.size() > winner->Pattern.size() ||
            (rule.Pattern.size() == winner->Pattern.size() && rule.Allow))
            winner = &rule;
    }
    return !winner || winner->Allow;
}
