#pragma once

#include <string_view>

// How sure a suggestion is.
enum class Verdict
{
    Sicher,     // a clear best match
    Unsicher,   // the best is weak, or close to the runner-up
    KeinTreffer // nothing plausible: the page gets no address
};

constexpr std::string_view verdictName(Verdict verdict)
{
    switch (verdict) {
    case Verdict::Sicher:
        return "sicher";
    case Verdict::Unsicher:
        return "unsicher";
    case Verdict::KeinTreffer:
        break;
    }
    return "kein Treffer";
}

inline constexpr Verdict AllVerdicts[] = {Verdict::Sicher, Verdict::Unsicher, Verdict::KeinTreffer};
