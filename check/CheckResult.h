#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

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

// What a search engine would hold against an address, beside its class.
enum class CheckNote
{
    Kette,           // more than one hop to the target
    NoIndex,         // the target forbids indexing (meta robots or X-Robots-Tag)
    CanonicalAnders, // the target's canonical link names another address
    RobotsAlt,       // the old site's robots.txt blocks the old address
    RobotsNeu,       // the target's robots.txt blocks the target
    HostVariante,    // a host name variant of the old homepage misses the new one
};

inline constexpr std::array<CheckNote, 6> AllCheckNotes = {
    CheckNote::Kette,     CheckNote::NoIndex,   CheckNote::CanonicalAnders,
    CheckNote::RobotsAlt, CheckNote::RobotsNeu, CheckNote::HostVariante};

// The note's name in the output: "kette", "noindex", ...
std::string_view checkNoteName(CheckNote note);

// One page as the check found it.
struct CheckResult
{
    CheckClass Class = CheckClass::Fehler;
    std::string OldUrl;
    // The last address asked for.
    std::string FinalUrl;
    // The last HTTP status, 0 when there was no answer.
    long Status = 0;
    // Why there was no answer, or why it does not count, in German; empty
    // otherwise.
    std::string Reason;
    // The hops followed, by the server or by the page.
    int Hops = 0;
    // In the order of AllCheckNotes, each at most once.
    std::vector<CheckNote> Notes;

    // The class counts as a working move.
    bool reached() const { return Class == CheckClass::Ok || Class == CheckClass::NurSeite; }
    // The status as a text, or for a failed request the reason.
    std::string statusText() const { return Reason.empty() ? std::to_string(Status) : Reason; }

    void addNote(CheckNote note);
    bool hasNote(CheckNote note) const;
    // The notes' names separated by ";", empty without notes.
    std::string notesText() const;
};
