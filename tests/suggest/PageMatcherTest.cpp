#include "PageMatcher.h"

#include "SuggestionCsv.h"

#include <gtest/gtest.h>

namespace {

// Pages say more than their titles: each text here stands three times.
SitePage page(std::string address, std::string title, const std::string& text)
{
    std::vector<std::string> blocks;
    for (int i = 0; i < 3; ++i)
        blocks.push_back(text);
    return {address, address, {std::move(title), {}, std::move(blocks)}};
}

// A club's site, rebuilt: renamed, retitled, two pages merged, one dropped.
struct ClubMove
{
    std::vector<SitePage> oldPages{
        page("verein/geschichte.html", "Geschichte des Vereins",
             "gegründet 1920 von zwölf Turnern im Gasthaus Linde, Fahnenweihe 1925"),
        page("seiten/kontakt.htm", "Kontakt", "Telefon Rathaus Anfahrt Bus Bahn Parkplatz"),
        page("seiten/vorstand.htm", "Vorstand", "Vorsitzender Kassierer Schriftführer Wahl"),
        page("seiten/beitraege.htm", "Beiträge",
             "Jahresbeitrag Erwachsene Kinder Familien Lastschrift"),
        page("seiten/turnier.htm", "Turnier 2019", "Pokal Sieger Finale Halle Zuschauer"),
    };
    std::vector<SitePage> newPages{
        page("/", "Willkommen", "Willkommen beim Verein Neuigkeiten Termine"),
        page("/ueber-uns/chronik/", "Chronik",
             "gegründet 1920 von zwölf Turnern im Gasthaus Linde, Fahnenweihe 1925"),
        page("/kontakt/", "Kontakt", "Telefon Rathaus Anfahrt Bus Bahn Parkplatz"),
        page("/mitglieder/", "Mitglieder",
             "Vorstand: Vorsitzender Kassierer Schriftführer Wahl. Beiträge: Jahresbeitrag "
             "Erwachsene Kinder Familien Lastschrift"),
        page("/sport/", "Sportangebot", "Halle Training Turnen Montag Kurse Trainer"),
    };

    std::vector<PageMatcher::Match> match() const
    {
        return PageMatcher::match(TermVectors::build(oldPages, newPages), oldPages.size());
    }
};

std::size_t chosen(const PageMatcher::Match& match)
{
    return match.Ranked.empty() ? 99 : match.Ranked.front().NewPage;
}

TEST(PageMatcher, FindsRenamedRetitledAndMergedPagesAndLeavesADroppedOneWithout)
{
    const std::vector<PageMatcher::Match> matches = ClubMove().match();
    ASSERT_EQ(matches.size(), 5u);
    EXPECT_EQ(chosen(matches[0]), 1u);
    EXPECT_NE(matches[0].Result, Verdict::KeinTreffer);
    EXPECT_EQ(chosen(matches[1]), 2u);
    EXPECT_EQ(matches[1].Result, Verdict::Sicher);
    // Both merged pages go to the one new page.
    EXPECT_EQ(chosen(matches[2]), 3u);
    EXPECT_EQ(chosen(matches[3]), 3u);
    EXPECT_NE(matches[2].Result, Verdict::KeinTreffer);
    EXPECT_NE(matches[3].Result, Verdict::KeinTreffer);
    // The tournament shares one word with the sports page: no plausible match,
    // and certainly not the home page.
    EXPECT_EQ(matches[4].Result, Verdict::KeinTreffer);
    for (const PageMatcher::Match& match : matches)
        EXPECT_GE(match.score(), 0.0f);
}

TEST(PageMatcher, CallsTwoEqualCandidatesUnsureAndAPageWithoutSharedWordsNoMatch)
{
    ClubMove move;
    move.newPages.push_back(
        page("/kontakt/index.html", "Kontakt", "Telefon Rathaus Anfahrt Bus Bahn Parkplatz"));
    move.oldPages.push_back(page("seiten/leer.htm", "", "Xylophon"));
    const std::vector<PageMatcher::Match> matches = move.match();
    EXPECT_EQ(matches[1].Result, Verdict::Unsicher);
    ASSERT_GE(matches[1].Ranked.size(), 2u);
    EXPECT_FLOAT_EQ(matches[1].Ranked[0].Score, matches[1].Ranked[1].Score);
    // Equal scores are ordered by the new pages' order, so runs agree.
    EXPECT_LT(matches[1].Ranked[0].NewPage, matches[1].Ranked[1].NewPage);
    EXPECT_EQ(matches[5].Result, Verdict::KeinTreffer);
    EXPECT_TRUE(matches[5].Ranked.empty());
}

TEST(PageMatcher, SeesTheSameTitleAsTheSameWhateverItsCaseAndUmlautSpelling)
{
    const std::vector<SitePage> oldPages{page("x", "ÜBER DIE GRÜNDUNG", "SATZUNG NOTÄR"),
                                         page("y", "Sommerfest", "Grill Musik Tombola")};
    const std::vector<SitePage> newPages{page("x", "Über die Gruendung", "Satzung Notaer"),
                                         page("y", "Sommerfest", "Grill Musik Tombola")};
    const auto matches = PageMatcher::match(TermVectors::build(oldPages, newPages), 2);
    EXPECT_EQ(chosen(matches[0]), 0u);
    EXPECT_GT(matches[0].score(), 0.99f);
    EXPECT_EQ(TermVectors::pathWords("/seiten/Über_uns/index.html"),
              (std::vector<std::string>{"seiten", "ueber", "uns"}));
}

TEST(SuggestionCsv, WritesTheMappingFileWithVerdictScoreAndRunnerUp)
{
    std::vector<MappingSuggester::Suggestion> suggestions{
        {"a, b.htm",
         Verdict::Sicher,
         {{"https://n.example/a/", 0.876f}, {"https://n.example/b", 0.2f}}},
        {"c.htm", Verdict::KeinTreffer, {{"https://n.example/", 0.1f}}},
        {"d.htm", Verdict::Unsicher, {}},
    };
    EXPECT_EQ(SuggestionCsv::text(suggestions),
              "alte Datei,neue URL,Urteil,Wert,zweite URL\r\n"
              "\"a, b.htm\",https://n.example/a/,sicher,0.88,https://n.example/b\r\n"
              "c.htm,,kein Treffer,0.10,\r\n"
              "d.htm,,unsicher,0.00,\r\n");
    EXPECT_EQ(SuggestionCsv::score(1.2f), "1.00");
    EXPECT_EQ(SuggestionCsv::score(0.996f), "1.00");
}

} // namespace
