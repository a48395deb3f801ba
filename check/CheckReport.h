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
    static constexpr std::array<std::string_view, 4> ColumnNames{"Klasse", "Alte URL", "Ziel-URL",
                                                                 "Status"};

    const std::vector<CheckResult>& results() const { return m_results; }
    std::size_t count(CheckClass checkClass) const;
    // Every page reached its new address, by the server or by its page.
    bool allReached() const;

    // "KLASSE<TAB>old URL<TAB>final URL<TAB>status" for one page.
    static std::string line(const CheckResult& result);
    // "Geprüft: N, ok: A, nur-seite: B, ..."
    std::string summary() const;
    // A header and one record per page; CRLF line ends, with a byte-order
    // mark for the spreadsheet programs that open it.
    std::string csv() const;

private:
    std::vector<CheckResult> m_results;
};
