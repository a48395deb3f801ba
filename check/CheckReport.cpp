#include "CheckReport.h"

#include <algorithm>
#include <string_view>
#include <utility>

namespace {

void appendField(std::string& out, std::string_view field)
{
    if (field.find_first_of(",\"\r\n") == std::string_view::npos) {
        out += field;
        return;
    }
    out += '"';
    for (const char c : field) {
        if (c == '"')
            out += '"';
        out += c;
    }
    out += '"';
}

void appendRecord(std::string& out, std::initializer_list<std::string_view> fields)
{
    bool first = true;
    for (const std::string_view field : fields) {
        if (!std::exchange(first, false))
            out += ',';
        appendField(out, field);
    }
    out += "\r\n";
}

} // namespace

CheckReport::CheckReport(std::vector<CheckResult> results) : m_results(std::move(results)) {}

std::size_t CheckReport::count(CheckClass checkClass) const
{
    return static_cast<std::size_t>(
        std::count_if(m_results.begin(), m_results.end(), [checkClass](const CheckResult& result) {
            return result.Class == checkClass;
        }));
}

bool CheckReport::allReached() const
{
    return std::all_of(m_results.begin(), m_results.end(),
                       [](const CheckResult& result) { return result.reached(); });
}

std::string CheckReport::line(const CheckResult& result)
{
    return std::string(checkClassName(result.Class)) + '\t' + result.OldUrl + '\t' +
           result.FinalUrl + '\t' + result.statusText();
}

std::string CheckReport::summary() const
{
    std::string text = "Geprüft: " + std::to_string(m_results.size());
    for (const CheckClass checkClass : AllCheckClasses)
        text += ", " + std::string(checkClassName(checkClass)) + ": " +
                std::to_string(count(checkClass));
    return text;
}

std::string CheckReport::csv() const
{
    std::string text;
    appendRecord(text, {"Klasse", "alte URL", "Ziel-URL", "HTTP-Status"});
    for (const CheckResult& result : m_results)
        appendRecord(text, {checkClassName(result.Class), result.OldUrl, result.FinalUrl,
                            result.statusText()});
    return text;
}
