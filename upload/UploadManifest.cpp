#include "UploadManifest.h"

#include "CsvReader.h"
#include "CsvWriter.h"

#include <charconv>

namespace {

constexpr std::string_view TargetLabel = "Ziel";
constexpr std::size_t HashDigits = 64;

bool isHash(const std::string& text)
{
    return text.size() == HashDigits &&
           text.find_first_not_of("0123456789abcdef") == std::string::npos;
}

// Splits text into lines without their CR LF or LF.
template <typename Visit>
void forEachLine(std::string_view text, Visit visit)
{
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        const bool complete = end != std::string_view::npos;
        if (!complete)
            end = text.size();
        std::string_view line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        visit(line, complete);
        start = end + 1;
    }
}

bool namesTarget(std::string_view line, const std::string& target)
{
    std::optional<CsvReader::Error> error;
    const auto records = CsvReader::parse(line, error);
    return !error && records.size() == 1 && records[0].Fields.size() == 2 &&
           records[0].Fields[0] == TargetLabel && records[0].Fields[1] == target;
}

} // namespace

bool UploadManifest::takeRecord(std::string_view line)
{
    std::optional<CsvReader::Error> error;
    const std::vector<CsvReader::Record> records = CsvReader::parse(line, error);
    if (error || records.size() != 1 || records[0].Fields.size() != 3)
        return false;
    const std::vector<std::string>& fields = records[0].Fields;
    Entry entry;
    const std::string& size = fields[1];
    const auto parsed = std::from_chars(size.data(), size.data() + size.size(), entry.Size);
    if (fields[0].empty() || parsed.ec != std::errc() || parsed.ptr != size.data() + size.size() ||
        !isHash(fields[2]))
        return false;
    entry.Hash = fields[2];
    m_entries[fields[0]] = std::move(entry);
    return true;
}

UploadManifest UploadManifest::parse(std::string_view text, const std::string& target)
{
    UploadManifest manifest(target);
    std::size_t lineNumber = 0;
    bool forThisTarget = false;
    forEachLine(text, [&](std::string_view line, bool) {
        ++lineNumber;
        if (lineNumber == 1) {
            forThisTarget = namesTarget(line, target);
        } else if (forThisTarget && lineNumber > 2) {
            manifest.takeRecord(line);
        }
    });
    if (!forThisTarget)
        manifest.m_entries.clear();
    return manifest;
}

bool UploadManifest::applyJournal(std::string_view journal)
{
    bool first = true;
    bool forThisTarget = false;
    forEachLine(journal, [&](std::string_view line, bool complete) {
        if (first)
            forThisTarget = complete && namesTarget(line, m_target);
        else if (complete && forThisTarget)
            takeRecord(line);
        first = false;
    });
    return forThisTarget;
}

std::string UploadManifest::journalHeader() const
{
    CsvWriter writer;
    writer.addRecord({TargetLabel, m_target});
    return writer.text();
}

std::string UploadManifest::text() const
{
    CsvWriter writer;
    writer.addRecord({TargetLabel, m_target});
    writer.addRecord({"Pfad", "Größe", "SHA-256"});
    for (const auto& [path, entry] : m_entries)
        writer.addRecord({path, std::to_string(entry.Size), entry.Hash});
    return writer.text();
}

std::string UploadManifest::journalRecord(const std::string& path, const Entry& entry)
{
    CsvWriter writer;
    writer.addRecord({path, std::to_string(entry.Size), entry.Hash});
    return writer.text();
}

const UploadManifest::Entry* UploadManifest::find(const std::string& path) const
{
    const auto found = m_entries.find(path);
    return found == m_entries.end() ? nullptr : &found->second;
}
