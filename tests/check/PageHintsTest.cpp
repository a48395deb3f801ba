#include "PageHints.h"

#include "HtmlHead.h"

#include <gtest/gtest.h>

namespace {

struct HintsCase
{
    std::string html;
    std::optional<std::string> target;
    bool noIndex = false;
};

std::string repeated(std::string_view piece, std::size_t bytes)
{
    std::string text;
    while (text.size() < bytes)
        text += piece;
    return text;
}

std::string manyAttributes(std::size_t bytes)
{
    std::string tag = "<meta ";
    for (int i = 0; tag.size() < bytes; ++i)
        tag += "a" + std::to_string(i) + " ";
    return tag;
}

const std::string Refresh = "<meta http-equiv=\"refresh\" content=\"0; url=http://n/r\">";

TEST(PageHints, ReadsTheHeadAsABrowserDoes)
{
    const HintsCase cases[] = {
        {"<link rel=\"canonical\" href=\"http://n/c\">" + Refresh, "http://n/r"},
        {"<LINK HREF='http://n/c?a=1&amp;b=2' REL='Shortlink Canonical'>", "http://n/c?a=1&b=2"},
        {"<meta content=\"5;URL='/weiter.htm'\" http-equiv=Refresh>", "/weiter.htm"},
        {"<meta http-equiv=\"refresh\" content=\"0,http://n/&#252;ber\">", "http://n/\xC3\xBC"
                                                                           "ber"},
        {"<meta http-equiv=\"refresh\" content=\"30\"><link rel=\"canonical\" href=\"x.htm\">",
         "x.htm"},
        {"<link rel=\"stylesheet\" href=\"s.css\"><metadata http-equiv=\"refresh\" "
         "content=\"0;url=x\">",
         std::nullopt},
        {"<p>keine Weiterleitung</p>", std::nullopt},
        // What only looks like a tag is none.
        {"<!-- " + Refresh + " -->", std::nullopt},
        {"<script>document.write('" + Refresh + "')</script>", std::nullopt},
        // The head ends where the body begins.
        {"<p>Text</p>" + Refresh, std::nullopt},
        // The page's own charset decides what its bytes are.
        {"<meta charset=\"windows-1252\"><meta http-equiv=refresh content=\"0;url=/\xFC.htm\">",
         "/\xC3\xBC.htm"},
        {"<meta name=\"robots\" content=\"NoIndex,nofollow\">", std::nullopt, true},
        {"<meta name=googlebot content=none>", std::nullopt, true},
        {"<meta name=\"robots\" content=\"index, follow\">", std::nullopt, false},
        {"<meta name=\"description\" content=\"noindex\">", std::nullopt, false},
        // A hostile answer: no target in it, and one before it still counts.
        {repeated("<meta a", 259 * 1024), std::nullopt},
        {Refresh + manyAttributes(300 * 1024), "http://n/r"},
        {repeated("<b>", 100 * 1024) + Refresh, std::nullopt},
    };
    for (const auto& [html, target, noIndex] : cases) {
        const PageHints hints = PageHints::read(html);
        EXPECT_EQ(hints.target(), target) << html.substr(0, 120);
        EXPECT_EQ(hints.NoIndex, noIndex) << html.substr(0, 120);
    }
}

TEST(PageHints, ReadsRobotsDirectivesOfEveryCrawler)
{
    const std::pair<std::string, bool> cases[] = {
        {"noindex", true},
        {" NOINDEX , nofollow", true},
        {"googlebot: noindex", true},
        {"none", true},
        {"nofollow, noarchive", false},
        {"", false},
        {"unavailable_after: 25 Jun 2030 15:00:00 PST", false},
    };
    for (const auto& [directives, forbidden] : cases)
        EXPECT_EQ(PageHints::forbidIndexing(directives), forbidden) << directives;
}

TEST(HtmlHead, GivesTheHeadElementsWithTheirAttributes)
{
    const std::vector<HtmlHead::Element> head = HtmlHead::read(
        "<!DOCTYPE html><HTML><Head><TITLE>t</TITLE><Meta Name=A content='x &amp; y' "
        "defer></head><body><meta name=b>");
    ASSERT_EQ(head.size(), 4u);
    EXPECT_EQ(head[0].Name, "html");
    EXPECT_EQ(head[3].Name, "meta");
    EXPECT_EQ(head[3].attribute("name"), "A");
    EXPECT_EQ(head[3].attribute("content"), "x & y");
    EXPECT_TRUE(head[3].hasAttribute("defer"));
    EXPECT_FALSE(head[3].hasAttribute("href"));
}

} // namespace
