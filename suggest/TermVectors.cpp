#include "TermVectors.h"

#include "TextFolding.h"

#include <algorithm>
#include <cmath>
#include <string_view>
#include <unordered_map>

namespace {

class Vocabulary
{
public:
    std::uint32_t id(std::string&& word)
    {
        const auto [at, added] = m_ids.try_emplace(std::move(word), m_count);
        if (added) {
            ++m_count;
            m_pages.push_back(0);
        }
        return at->second;
    }
    std::vector<std::uint32_t>& pagesPerWord() { return m_pages; }

private:
    std::unordered_map<std::string, std::uint32_t> m_ids;
    std::vector<std::uint32_t> m_pages;
    std::uint32_t m_count = 0;
};

using Counts = std::unordered_map<std::uint32_t, std::uint32_t>;

void countWords(Vocabulary& vocabulary, const std::vector<std::string>& words, Counts& counts)
{
    for (std::string word : words)
        ++counts[vocabulary.id(std::move(word))];
}

void countText(Vocabulary& vocabulary, const std::string& text, Counts& counts)
{
    countWords(vocabulary, TextFolding::words(text), counts);
}

// A word repeated ten times is not ten times as telling.
void addDampened(std::unordered_map<std::uint32_t, float>& weights, const Counts& counts,
                 float fieldWeight)
{
    for (const auto& [word, count] : counts)
        weights[word] += fieldWeight * (1.0f + std::log(static_cast<float>(count)));
}

std::unordered_map<std::uint32_t, float> fieldWeights(Vocabulary& vocabulary, const SitePage& page)
{
    Counts title, headings, text, path;
    countText(vocabulary, page.Content.Title, title);
    for (const std::string& heading : page.Content.Headings)
        countText(vocabulary, heading, headings);
    for (const std::string& block : page.Content.Blocks)
        countText(vocabulary, block, text);
    countWords(vocabulary, TermVectors::pathWords(page.PathText), path);

    std::unordered_map<std::uint32_t, float> weights;
    addDampened(weights, title, TermVectors::TitleWeight);
    addDampened(weights, headings, TermVectors::HeadingWeight);
    addDampened(weights, text, TermVectors::TextWeight);
    addDampened(weights, path, TermVectors::PathWeight);
    for (const auto& entry : weights)
        ++vocabulary.pagesPerWord()[entry.first];
    return weights;
}

bool isPageType(std::string_view word)
{
    static constexpr std::string_view Types[] = {"htm", "html",  "shtml", "shtm",  "shm",
                                                 "php", "php3",  "php4",  "asp",   "aspx",
                                                 "jsp", "index", "http",  "https", "www"};
    return std::find(std::begin(Types), std::end(Types), word) != std::end(Types);
}

} // namespace

std::vector<std::string> TermVectors::pathWords(const std::string& path)
{
    std::vector<std::string> words = TextFolding::words(path);
    std::erase_if(words, [](const std::string& word) { return isPageType(word); });
    return words;
}

std::vector<TermVectors::Vector> TermVectors::build(const std::vector<SitePage>& oldPages,
                                                    const std::vector<SitePage>& newPages)
{
    Vocabulary vocabulary;
    std::vector<std::unordered_map<std::uint32_t, float>> raw;
    raw.reserve(oldPages.size() + newPages.size());
    for (const SitePage& page : oldPages)
        raw.push_back(fieldWeights(vocabulary, page));
    for (const SitePage& page : newPages)
        raw.push_back(fieldWeights(vocabulary, page));

    const std::vector<std::uint32_t>& pagesPerWord = vocabulary.pagesPerWord();
    const float total = static_cast<float>(raw.size()) + 1.0f;
    std::vector<Vector> vectors;
    vectors.reserve(raw.size());
    for (auto& weights : raw) {
        Vector vector;
        vector.reserve(weights.size());
        double squares = 0;
        for (const auto& [word, weight] : weights) {
            const float value = weight * std::log(total / static_cast<float>(pagesPerWord[word]));
            if (value <= 0)
                continue;
            vector.emplace_back(word, value);
            squares += static_cast<double>(value) * value;
        }
        const float norm = squares > 0 ? static_cast<float>(std::sqrt(squares)) : 1.0f;
        for (auto& entry : vector)
            entry.second /= norm;
        std::sort(vector.begin(), vector.end());
        vectors.push_back(std::move(vector));
        weights.clear();
    }
    return vectors;
}

float TermVectors::coverage(const Vector& a, const Vector& b)
{
    float sum = 0;
    auto j = b.begin();
    for (const auto& [word, weight] : a) {
        while (j != b.end() && j->first < word)
            ++j;
        if (j != b.end() && j->first == word)
            sum += weight * weight;
    }
    return std::min(sum, 1.0f);
}

float TermVectors::cosine(const Vector& a, const Vector& b)
{
    float sum = 0;
    auto i = a.begin();
    auto j = b.begin();
    while (i != a.end() && j != b.end()) {
        if (i->first < j->first) {
            ++i;
        } else if (j->first < i->first) {
            ++j;
        } else {
            sum += i->second * j->second;
            ++i;
            ++j;
        }
    }
    return std::min(sum, 1.0f);
}
