#include "BrowserUrl.h"

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

TEST(BrowserUrl, NamesTheHomepageOnEveryHostName)
{
    const std::pair<std::string, std::vector<std::string>> cases[] = {
        {"http://alt.example/",
         {"http://alt.example/", "http://www.alt.example/", "https://alt.example/",
          "https://www.alt.example/"}},
        {"https://WWW.alt.example/site/",
         {"https://WWW.alt.example/site/", "https://alt.example/site/",
          "http://WWW.alt.example/site/", "http://alt.example/site/"}},
        {"http://alt.example:8080/", {"http://alt.example:8080/", "http://www.alt.example:8080/"}},
        {"http://127.0.0.1:8080/", {"http://127.0.0.1:8080/"}},
        {"http://[::1]/", {"http://[::1]/", "https://[::1]/"}},
        {"http://localhost/", {"http://localhost/", "https://localhost/"}},
    };
    for (const auto& [home, variants] : cases)
        EXPECT_EQ(BrowserUrl::hostVariants(home), variants) << home;
}

TEST(BrowserUrl, SplitsOriginFromPathAndQuery)
{
    const std::tuple<std::string, std::string, std::string> cases[] = {
        {"http://a.example:81/x/y.htm?q=1#f", "http://a.example:81", "/x/y.htm?q=1"},
        {"https://a.example", "https://a.example", "/"},
        {"http://a.example?q", "http://a.example", "/?q"},
    };
    for (const auto& [url, origin, rest] : cases) {
        EXPECT_EQ(BrowserUrl::origin(url), origin) << url;
        EXPECT_EQ(BrowserUrl::pathAndQuery(url), rest) << url;
    }
}

} // namespace
