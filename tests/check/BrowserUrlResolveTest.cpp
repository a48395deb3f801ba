#include "BrowserUrl.h"

#include <gtest/gtest.h>

namespace {

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
        {"#top", "http://a.example/x/y/page.htm?q=1#top"},
        {"g;x?y#s", "http://a.example/x/y/g;x?y#s"},
        {" neue Seite.htm\n", "http://a.example/x/y/neue%20Seite.htm"},
        {"\xC3\xBC.htm", "http://a.example/x/y/%C3%BC.htm"},
        {"java\tscript:alert(1)", "javascript:alert(1)"},
        {"file:///etc/passwd", "file:///etc/passwd"},
        {"mailto:a@b.example", "mailto:a@b.example"},
    };
    for (const auto& [reference, resolved] : cases)
        EXPECT_EQ(BrowserUrl::resolve(base, reference), resolved) << reference;
}

} // namespace
