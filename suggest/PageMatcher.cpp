#include "PageMatcher.h"

#include <algorithm>
#include <cstdint>
#include <limits>

namespace {

using Vector = TermVectors::Vector;
using Candidate = PageMatcher::Candidate;

// Words an old page looks up candidates by: its most telling ones. The
// exact cosine is computed afterwards over all words.
constexpr std::size_t LookupWords = 64;
// Candidates whose exact cosine is computed.
constexpr std::size_t Shortlist = 24;
// Words on more new pages than this (or a twentieth of them) find too many
// candidates to be worth looking up by; they still count in the cosine.
constexpr std::size_t CommonWordPages = 200;

constexpr std::size_t NoOwner = std::numeric_limits<std::size_t>::max();

bool better(const Candidate& a, const Candidate& b)
{
    return a.Score != b.Score ? a.Score > b.Score : a.NewPage < b.NewPage;
}

class CandidateSearch
{
public:
    CandidateSearch(const std::vector<Vector>& vectors, std::size_t oldCount)
        : m_vectors(vectors), m_oldCount(oldCount), m_partial(vectors.size() - oldCount, 0.0f),
          m_commonLength(std::max(CommonWordPages, (vectors.size() - oldCount) / 20))
    {
        for (std::size_t page = oldCount; page < vectors.size(); ++page) {
            for (const auto& [word, weight] : vectors[page]) {
                if (word >= m_postings.size())
                    m_postings.resize(word + 1);
                m_postings[word].push_back({page - oldCount, weight});
            }
        }
    }

    std::vector<Candidate> ranked(std::size_t oldPage)
    {
        const Vector& words = m_vectors[oldPage];
        std::vector<std::pair<float, std::uint32_t>> strongest;
        for (const auto& [word, weight] : words)
            strongest.emplace_back(weight, word);
        const std::size_t lookups = std::min(LookupWords, strongest.size());
        std::partial_sort(strongest.begin(), strongest.begin() + static_cast<long>(lookups),
                          strongest.end(), std::greater<>());
        strongest.resize(lookups);
        accumulate(strongest, m_commonLength);
        // A page of common words only is still looked up, by them.
        if (m_touched.empty())
            accumulate(strongest, std::numeric_limits<std::size_t>::max());
        std::vector<Candidate> shortlist;
        for (std::size_t page : m_touched) {
            shortlist.push_back({page, m_partial[page]});
            m_partial[page] = 0.0f;
        }
        m_touched.clear();
        const std::size_t kept = std::min(Shortlist, shortlist.size());
        std::partial_sort(shortlist.begin(), shortlist.begin() + static_cast<long>(kept),
                          shortlist.end(), better);
        shortlist.resize(kept);
        for (Candidate& candidate : shortlist)
            candidate.Score = TermVectors::cosine(words, m_vectors[m_oldCount + candidate.NewPage]);
        std::sort(shortlist.begin(), shortlist.end(), better);
        std::erase_if(shortlist, [](const Candidate& c) { return c.Score <= 0.0f; });
        // A fresh vector: the shortlist's capacity may hold every new page.
        return {shortlist.begin(), shortlist.begin() + static_cast<long>(std::min(
                                                           PageMatcher::Kept, shortlist.size()))};
    }

private:
    // Adds the old page's part of the dot product to every new page that
    // shares a word with it, leaving out words on more than longest pages.
    void accumulate(const std::vector<std::pair<float, std::uint32_t>>& words, std::size_t longest)
    {
        for (const auto& [weight, word] : words) {
            if (word >= m_postings.size() || m_postings[word].size() > longest)
                continue;
            for (const Candidate& posting : m_postings[word]) {
                if (m_partial[posting.NewPage] == 0.0f)
                    m_touched.push_back(posting.NewPage);
                m_partial[posting.NewPage] += weight * posting.Score;
            }
        }
    }

    const std::vector<Vector>& m_vectors;
    std::size_t m_oldCount;
    std::vector<std::vector<Candidate>> m_postings; // Score holds the word's weight
    std::vector<float> m_partial;
    std::vector<std::size_t> m_touched;
    std::size_t m_commonLength;
};

// For each new page, the old page that matches it best.
std::vector<std::size_t> owners(const std::vector<PageMatcher::Match>& matches,
                                std::size_t newCount)
{
    std::vector<std::size_t> owner(newCount, NoOwner);
    std::vector<float> best(newCount, -1.0f);
    for (std::size_t old = 0; old < matches.size(); ++old) {
        for (const Candidate& candidate : matches[old].Ranked) {
            if (candidate.Score > best[candidate.NewPage]) {
                best[candidate.NewPage] = candidate.Score;
                owner[candidate.NewPage] = old;
            }
        }
    }
    return owner;
}

// plausible: the old page owns the new one, or most of its words stand there.
Verdict verdictOf(const std::vector<Candidate>& ranked, bool plausible)
{
    const float score = ranked.front().Score;
    const float runnerUp = ranked.size() > 1 ? ranked[1].Score : 0.0f;
    if (score < PageMatcher::Floor || !plausible)
        return Verdict::KeinTreffer;
    if (score >= PageMatcher::SureScore && score - runnerUp >= PageMatcher::SureLead)
        return Verdict::Sicher;
    return Verdict::Unsicher;
}

} // namespace

std::vector<PageMatcher::Match> PageMatcher::match(const std::vector<Vector>& vectors,
                                                   std::size_t oldCount)
{
    std::vector<Match> matches(oldCount);
    if (vectors.size() <= oldCount)
        return matches;
    CandidateSearch search(vectors, oldCount);
    for (std::size_t old = 0; old < oldCount; ++old)
        matches[old].Ranked = search.ranked(old);

    const std::vector<std::size_t> owner = owners(matches, vectors.size() - oldCount);
    for (std::size_t old = 0; old < oldCount; ++old) {
        std::vector<Candidate>& ranked = matches[old].Ranked;
        if (ranked.empty())
            continue;
        bool owns = owner[ranked[0].NewPage] == old;
        if (!owns && ranked.size() > 1 && owner[ranked[1].NewPage] == old &&
            ranked[1].Score >= ranked[0].Score - SecondChoiceSlack) {
            std::swap(ranked[0], ranked[1]);
            owns = true;
        }
        const float coverage =
            TermVectors::coverage(vectors[old], vectors[oldCount + ranked[0].NewPage]);
        matches[old].Result = verdictOf(ranked, owns || coverage >= MergeCoverage);
    }
    return matches;
}
