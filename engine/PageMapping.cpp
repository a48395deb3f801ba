#include "PageMapping.h"

#include "AbsoluteUrl.h"
#include "CsvReader.h"
#include "CsvWriter.h"
#include "ShownText.h"

#include <algorithm>

namespace {

bool isHeader(const CsvReader::Record& record)
{
    return record.Line == 1 && record.Fields.size() >= 2 && record.Fields[0] == "alte Datei" &&
           record.Fields[1] == "neue URL";
}

bool isBlank(const CsvReader::Record& record)
{
    return record.Fields.size() == 1 && record.Fields[0].empty();
}

// Paths and URLs in the message as the reader can see them.
std::string lineError(std::size_t line, const std::string& reason)
{
    return "Zuordnungsdatei, Zeile " + std::to_string(line) + ": " + ShownText::visible(reason);
}

// Spreadsheet programs with German settings save CSV separated by ";".
std::string separatorHint(const CsvReader::Record& record)
{
    for (const std::string& field : record.Fields) {
        if (field.find(';') != std::string::npos)
            return "; die Felder werden durch ein Komma getrennt, nicht durch ein Semikolon";
    }
    return {};
}

} // namespace

PageMapping PageMapping::parse(std::string_view text, std::string& error)
{
    error.clear();
    // Spreadsheet programs start UTF-8 files with a byte-order mark.
    if (text.starts_with(CsvWriter::ByteOrderMark))
        text.remove_prefix(CsvWriter::ByteOrderMark.size());

    std::optional<CsvReader::Error> csvError;
    const std::vector<CsvReader::Record> records = CsvReader::parse(text, csvError);
    if (csvError) {
        error = lineError(csvError->Line, csvError->Reason);
        return {};
    }

    PageMapping mapping;
    for (const CsvReader::Record& record : records) {
        if (isHeader(record) || isBlank(record))
            continue;
        if (record.Fields.size() < 2) {
            error = lineError(record.Line, "zwei Felder erwartet (alte Datei,neue URL), " +
                                               std::to_string(record.Fields.size()) + " gefunden" +
                                               separatorHint(record));
            return {};
        }
        const std::string& path = record.Fields[0];
        const std::string& url = record.Fields[1];
        // A suggested mapping leaves the address empty where it found no match.
        if (url.empty())
            continue;
        if (path.empty()) {
            error = lineError(record.Line, "die alte Datei fehlt");
            return {};
        }
        if (const std::string problem = AbsoluteUrl::problem(url); !problem.empty()) {
            error = lineError(record.Line, problem + ": " + url);
            return {};
        }
        const auto [at, added] = mapping.m_entries.emplace(path, Entry{url, record.Line, false});
        if (!added) {
            error = lineError(record.Line,
                              path + " steht schon in Zeile " + std::to_string(at->second.Line));
            return {};
        }
    }
    return mapping;
}

std::optional<std::string> PageMapping::urlFor(const std::string& relativePath)
{
    const auto at = m_entries.find(relativePath);
    if (at == m_entries.end())
        return std::nullopt;
    at->second.Used = true;
    return at->second.Url;
}

std::vector<std::string> PageMapping::unusedPaths() const
{
    std::vector<std::pair<std::size_t, std::string>> unused;
    for (const auto& [path, entry] : m_entries) {
        if (!entry.Used)
            unused.emplace_back(entry.Line, path);
    }
    std::sort(unused.begin(), unused.end());
    std::vector<std::string> paths;
    for (auto& [line, path] : unused)
        paths.push_back(std::move(path));
    return paths;
}
