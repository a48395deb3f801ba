#pragma once

#include "CheckResult.h"

#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// The outcome of a check as text: one line per page, a summary line, and the
// same as CSV.
class CheckReport
{
public:
    explicit CheckReport(std::vector<CheckResult> results);

    // The report's columns, spelled alike in the window's table and the file.
    static constexpr std::array<std::string_view, 6> ColumnNames{"Klasse", "Alte URL", "Ziel-URL",
                                                                 "Status", "Sprünge",  "Hinweise"};

    const std::vector<CheckResult>& results() const { return m_results; }
    std::size_t count(CheckClass checkClass) const;
    // Every page reached its new address, by the server or by its page.
    bool allReached() const;
    // How many addresses have that note.
    std::size_t count(CheckNote note) const;
    // No address has a note.
    bool withoutNotes() const;

    // "KLASSE<TAB>old URL<TAB>final URL<TAB>status<TAB>hops<TAB>notes" for
    // one page, the notes separated by ";".
    static std::string line(const CheckResult& result);
    // "Geprüft: N, ok: A, nur-seite: B, ...", and after "Hinweise:" the
    // count of each note that occurs.
    std::string summary() const;
    // A header and one record per page; CRLF line ends, with a byte-order
    // mark for the spreadsheet programs that open it.
    std::string csv() const;

private:
    std::vector<CheckResult> m_results;
};
