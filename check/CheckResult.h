#pragma once

#include <array>
#include <string>
#include <string_view>

// What became of one old address: exactly one class per page.
enum class CheckClass
{
    Ok,           // reached its page URL with 200 through server redirects
    NurSeite,     // reached it, but only through the page's own refresh or link
    FalschesZiel, // ended somewhere else
    ZielFehlt,    // a target answered 4xx or 5xx
    AltFehlt,     // the old address answered 404 or 410: not uploaded
    Schleife,     // a loop, or more hops than allowed
    Fehler,       // no connection or a timeout
};

inline constexpr std::array<CheckClass, 7> AllCheckClasses = {
    CheckClass::Ok,       CheckClass::NurSeite, CheckClass::FalschesZiel, CheckClass::ZielFehlt,
    CheckClass::AltFehlt, CheckClass::Schleife, CheckClass::Fehler};

// The class's name in the output: "ok", "nur-seite", ...
std::string_view checkClassName(CheckClass checkClass);

// One page as the check found it.
struct CheckResult
{
    CheckClass Class = CheckClass::Fehler;
    std::string OldUrl;
    // The last address asked for.
    std::string FinalUrl;
    // The last HTTP status, 0 when there was no answer.
    long Status = 0;
    // Why there was no answer, in German; empty otherwise.
    std::string Reason;

    // The class counts as a working move.
    bool reached() const { return Class == CheckClass::Ok || Class == CheckClass::NurSeite; }
    // The status as a text, or for a failed request the reason.
    std::string statusText() const { return Reason.empty() ? std::to_string(Status) : Reason; }
};
