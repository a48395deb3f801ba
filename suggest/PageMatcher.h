#pragma once

#include "TermVectors.h"
#include "Verdict.h"

#include <cstddef>
#include <vector>

// Chooses a new page for every old page from the cosine of their vectors.
// Each old page takes its best new page; where another old page matches that
// new page better, and the old page's second choice is nearly as good and
// its own, it takes the second, so that a new page gets one old page where
// the scores allow it and several where the new site merged them. A page
// that still shares its choice with a better match counts only when the new
// page holds most of its words.
class PageMatcher
{
public:
    struct Candidate
    {
        std::size_t NewPage = 0;
        float Score = 0;
    };

    struct Match
    {
        Verdict Result = Verdict::KeinTreffer;
        // The chosen candidate first, then the others by score; empty when
        // no new page shares a telling word with the old one.
        std::vector<Candidate> Ranked;
        float score() const { return Ranked.empty() ? 0.0f : Ranked.front().Score; }
    };

    // Candidates kept per old page.
    static constexpr std::size_t Kept = 5;
    // Below this no candidate is plausible.
    static constexpr float Floor = 0.2f;
    // A page whose best new page matches another old page better was merged
    // into it only when the new page holds this share of its words' weight
    // (see TermVectors::coverage); otherwise it was more likely dropped and
    // the new page is merely about the same topic.
    static constexpr float MergeCoverage = 0.8f;
    // A clear best match is at least this good ...
    static constexpr float SureScore = 0.45f;
    // ... and this far ahead of the runner-up.
    static constexpr float SureLead = 0.1f;
    // How much worse a second choice may be to be taken for a free page.
    static constexpr float SecondChoiceSlack = 0.05f;

    // vectors: the old pages' first (oldCount of them), then the new ones'.
    static std::vector<Match> match(const std::vector<TermVectors::Vector>& vectors,
                                    std::size_t oldCount);
};
