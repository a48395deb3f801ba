#include "RobotsTxt.h"

#include <gtest/gtest.h>

namespace {

const std::string Rules = "# Kommentar\r\n"
                          "User-agent: *\r\n"
                          "Disallow: /intern/\r\n"
                          "Allow: /intern/offen\r\n"
                          "Disallow: /*.pdf$\r\n"
                          "Disallow: /suche?\r\n"
                          "Disallow: /%C3%BC/\r\n"
                          "Disallow:\r\n"
                          "\r\n"
                          "User-agent: otherbot\r\n"
                          "Disallow: /\r\n";

TEST(RobotsTxt, TheLongestMatchingRuleDecides)
{
    const RobotsTxt robots = RobotsTxt::parse(Rules);
    const std::pair<std::string, bool> cases[] = {
        {"/index.htm", true},  {"/intern/a.htm", false},   {"/intern/offen.htm", true},
        {"/doc/a.pdf", false}, {"/doc/a.pdf?x", true},     {"/suche?q=1", false},
        {"/suche", true},      {"/\xC3\xBC/a.htm", false}, {"/%C3%BC/a.htm", false},
        {"/robots.txt", true},
    };
    for (const auto& [path, allowed] : cases)
        EXPECT_EQ(robots.allows(path), allowed) << path;
}

TEST(RobotsTxt, TheCrawlersOwnGroupWinsOverTheCommonOne)
{
    const std::tuple<std::string, std::string, bool> cases[] = {
        {"User-agent: *\nDisallow: /\nUser-agent: Googlebot\nDisallow: /x\n", "/a", true},
        {"User-agent: *\nDisallow: /\nUser-agent: Googlebot\nDisallow: /x\n", "/x", false},
        {"User-agent: Googlebot-Image\nUser-agent: *\nDisallow: /a\n", "/a", false},
        {"User-agent: googlebot/2.1\nAllow: /\nDisallow: /\n", "/a", true},
        {"Disallow: /\n", "/a", true},
        {"", "/a", true},
    };
    for (const auto& [text, path, allowed] : cases)
        EXPECT_EQ(RobotsTxt::parse(text).allows(path), allowed) << text << path;
}

} // namespace
