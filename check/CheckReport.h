#pragma once

#include "CheckResult.h"

#include <cstddef>
#include <string>
#include <vector>

// The outcome of a check as text: one line per page, a summary line, and the
// same as CSV.
class CheckReport
{
public:
    explicit CheckReport(std::vector<CheckResult> results);

    const std::vector<CheckResult>& results() const { return m_results; }
    std::size_t count(CheckClass checkClass) const;
    // Every page reached its new address, by the server or by its page.
    bool allReached() const;

    // "KLASSE<TAB>old URL<TAB>final URL<TAB>status" for one page.
    static std::string line(const CheckResult& result);
    // "Geprüft: N, ok: A, nur-seite: B, ..."
    std::string summary() const;
    // A header and one record per page; CRLF line ends.
    std::string csv() const;

private:
    std::vector<CheckResult> m_results;
};
