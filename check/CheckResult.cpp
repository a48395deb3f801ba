#include "CheckResult.h"

#include <algorithm>

std::string_view checkClassName(CheckClass checkClass)
{
    switch (checkClass) {
    case CheckClass::Ok:
        return "ok";
    case CheckClass::NurSeite:
        return "nur-seite";
    case CheckClass::FalschesZiel:
        return "falsches-ziel";
    case CheckClass::ZielFehlt:
        return "ziel-fehlt";
    case CheckClass::AltFehlt:
        return "alt-fehlt";
    case CheckClass::Schleife:
        return "schleife";
    case CheckClass::Fehler:
        return "fehler";
    }
    return "fehler";
}

std::string_view checkNoteName(CheckNote note)
{
    switch (note) {
    case CheckNote::Kette:
        return "kette";
    case CheckNote::NoIndex:
        return "noindex";
    case CheckNote::CanonicalAnders:
        return "canonical-anders";
    case CheckNote::RobotsAlt:
        return "robots-alt";
    case CheckNote::RobotsNeu:
        return "robots-neu";
    case CheckNote::HostVariante:
        return "hostvariante";
    }
    return "";
}

void CheckResult::addNote(CheckNote note)
{
    if (hasNote(note))
        return;
    Notes.push_back(note);
    std::sort(Notes.begin(), Notes.end());
}

bool CheckResult::hasNote(CheckNote note) const
{
    return std::find(Notes.begin(), Notes.end(), note) != Notes.end();
}

std::string CheckResult::notesText() const
{
    std::string text;
    for (const CheckNote note : Notes) {
        if (!text.empty())
            text += ';';
        text += checkNoteName(note);
    }
    return text;
}
