#include "CheckReport.h"

#include "CsvWriter.h"

#include <algorithm>
#include <utility>

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

std::size_t CheckReport::count(CheckNote note) const
{
    return static_cast<std::size_t>(
        std::count_if(m_results.begin(), m_results.end(),
                      [note](const CheckResult& result) { return result.hasNote(note); }));
}

bool CheckReport::withoutNotes() const
{
    return std::all_of(m_results.begin(), m_results.end(),
                       [](const CheckResult& result) { return result.Notes.empty(); });
}

std::string CheckReport::line(const CheckResult& result)
{
    return std::string(checkClassName(result.Class)) + '\t' + result.OldUrl + '\t' +
           result.FinalUrl + '\t' + result.statusText() + '\t' + std::to_string(result.Hops) +
           '\t' + result.notesText();
}

std::string CheckReport::summary() const
{
    std::string text = "Geprüft: " + std::to_string(m_results.size());
    for (const CheckClass checkClass : AllCheckClasses)
        text += ", " + std::string(checkClassName(checkClass)) + ": " +
                std::to_string(count(checkClass));
    std::string notes;
    for (const CheckNote note : AllCheckNotes) {
        if (const std::size_t found = count(note))
            notes += std::string(notes.empty() ? "" : ", ") + std::string(checkNoteName(note)) +
                     ": " + std::to_string(found);
    }
    if (!notes.empty())
        text += "; Hinweise: " + notes;
    return text;
}

std::string CheckReport::csv() const
{
    CsvWriter csv(CsvWriter::Audience::People);
    csv.addRecord(ColumnNames);
    for (const CheckResult& result : m_results)
        csv.addRecord({checkClassName(result.Class), result.OldUrl, result.FinalUrl,
                       result.statusText(), std::to_string(result.Hops), result.notesText()});
    return csv.text();
}
