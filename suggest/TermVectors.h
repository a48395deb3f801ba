#pragma once

#include "SitePage.h"

#include <cstdint>
#include <utility>
#include <vector>

// Pages as weighted word vectors (TF-IDF): a word counts more the more often
// it stands in the page and the rarer it is among all pages, and more in the
// title than in a heading, and more there than in the text. Each vector has
// length 1, so the dot product of two is their cosine, from 0 to 1.
class TermVectors
{
public:
    using Vector = std::vector<std::pair<std::uint32_t, float>>; // sorted by word

    static constexpr float TitleWeight = 3.0f;
    static constexpr float HeadingWeight = 2.0f;
    static constexpr float PathWeight = 2.0f;
    static constexpr float TextWeight = 1.0f;

    // One vector per page: the old pages' first, then the new ones'; the
    // rarity of a word is counted over both sites together.
    static std::vector<Vector> build(const std::vector<SitePage>& oldPages,
                                     const std::vector<SitePage>& newPages);

    static float cosine(const Vector& a, const Vector& b);
    // How much of a's weight lies on words that b has too, from 0 to 1: a
    // page merged into a larger one keeps nearly all of it, a page that was
    // dropped shares only the topic with its nearest neighbour.
    static float coverage(const Vector& a, const Vector& b);

    // The words of an address's path: folder and file names, without the
    // page's file type and without "index".
    static std::vector<std::string> pathWords(const std::string& path);
};
