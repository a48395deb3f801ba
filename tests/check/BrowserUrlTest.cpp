#include "BrowserUrl.h"

#include "HtmlTarget.h"

#include <gtest/gtest.h>

namespace {

TEST(BrowserUrl, JoinsThePagePathAsABrowserRequestsIt)
{
    const std::pair<std::string, std::string> cases[] = {
        {"index.htm", "http://alt.example/index.htm"},
        {"x/b page.htm", "http://alt.example/x/b%20page.htm"},
        {"\xC3\x9C"
         "ber uns/a#b?c%.htm",
         "http://alt.example/%C3%9Cber%20uns/a%23b%3Fc%25.htm"},
        {"a+b (1)&c.htm", "http://alt.example/a+b%20(1)&c.htm"},
    };
    for (const auto& [path, url] : cases) {
        EXPECT_EQ(BrowserUrl::join("http://alt.example", path), url);
        EXPECT_EQ(BrowserUrl::join("http://alt.example/", path), url);
    }
}

TEST(BrowserUrl, ResolvesReferencesAgainstTheAddressAsked)
{
    const std::string base = "http://a.example/x/y/page.htm?q=1";
    const std::pair<std::string, std::string> cases[] = {
        {"https://b.example/z", "https://b.example/z"},
        {"//b.example/z", "http://b.example/z"},
        {"/root.htm", "http://a.example/root.htm"},
        {"other.htm", "http://a.example/x/y/other.htm"},
        {"../up.htm#f", "http://a.example/x/up.htm#f"},
        {"./../../../top.htm", "http://a.example/top.htm"},
        {"?p=2", "http://a.example/x/y/page.htm?p=2"},
        {"", "http://a.example/x/y/page.htm?q=1"},
    };
    for (const auto& [reference, resolved] : cases)
        EXPECT_EQ(BrowserUrl::resolve(base, reference), resolved) << reference;
}

TEST(BrowserUrl, ComparesAddressesAsTheServerSeesThem)
{
    const std::tuple<std::string, std::string, bool> cases[] = {
        {"http://neu.example/x/b page.htm", "http://neu.example/x/b%20page.htm", true},
        {"HTTP://Neu.Example:80/a.htm", "http://neu.example/a.htm", true},
        {"https://neu.example:443", "https://neu.example/", true},
        {"http://neu.example/%7Ea", "http://neu.example/~a", true},
        {"http://neu.example/%c3%9c", "http://neu.example/\xC3\x9C", true},
        {"http://neu.example/a.htm#top", "http://neu.example/a.htm", true},
        {"http://neu.example/A.htm", "http://neu.example/a.htm", false},
        {"http://neu.example:8080/a.htm", "http://neu.example/a.htm", false},
        {"http://neu.example/a%2Fb", "http://neu.example/a/b", false},
        {"http://neu.example/100%.htm", "http://neu.example/100%25.htm", true},
    };
    for (const auto& [a, b, same] : cases)
        EXPECT_EQ(BrowserUrl::sameAddress(a, b), same) << a << " / " << b;
}

TEST(HtmlTarget, FindsTheRefreshBeforeTheCanonicalLink)
{
    const std::pair<std::string, std::optional<std::string>> cases[] = {
        {"<link rel=\"canonical\" href=\"http://n/c\"><meta http-equiv=\"refresh\" "
         "content=\"0; url=http://n/r\">",
         "http://n/r"},
        {"<LINK HREF='http://n/c?a=1&amp;b=2' REL='Canonical'>", "http://n/c?a=1&b=2"},
        {"<meta content=\"5;URL='/weiter.htm'\" http-equiv=Refresh>", "/weiter.htm"},
        {"<meta http-equiv=\"refresh\" content=\"0,http://n/&#252;ber\">", "http://n/\xC3\xBC"
                                                                           "ber"},
        {"<meta http-equiv=\"refresh\" content=\"30\"><link rel=\"canonical\" href=\"x.htm\">",
         "x.htm"},
        {"<link rel=\"stylesheet\" href=\"s.css\"><metadata http-equiv=\"refresh\" "
         "content=\"0;url=x\">",
         std::nullopt},
        {"<p>keine Weiterleitung</p>", std::nullopt},
    };
    for (const auto& [html, target] : cases)
        EXPECT_EQ(HtmlTarget::find(html), target) << html;
}

} // namespace
