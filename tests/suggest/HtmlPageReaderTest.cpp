#include "HtmlPageReader.h"

#include "PageCharset.h"
#include "SiteBoilerplate.h"
#include "TextFolding.h"

#include <gtest/gtest.h>

namespace {

using Words = std::vector<std::string>;

TEST(TextFolding, FoldsCaseUmlautsAndAccentsAndSplitsAtEverythingElse)
{
    const std::pair<std::string, Words> cases[] = {
        {"Über uns", {"ueber", "uns"}},
        {"STRASSE Straße straße", {"strasse", "strasse", "strasse"}},
        {"Café-Öffnungszeiten, 2024!", {"cafe", "oeffnungszeiten", "2024"}},
        {"os.path — Common_pathname", {"os", "path", "common", "pathname"}},
        {"  ", {}},
        {"naïve Ærø", {"naive", "aero"}},
        // Letters beyond Latin-1 stay as they are; broken bytes split words.
        {"Ωmega a\xFF"
         "b",
         {"Ωmega", "a", "b"}},
    };
    for (const auto& [text, words] : cases)
        EXPECT_EQ(TextFolding::words(text), words) << text;
    EXPECT_EQ(TextFolding::folded(" Über  Uns "), "ueber uns");
}

TEST(HtmlPageReader, ReadsTitleHeadingsAndBlocksAsABrowserBuildsThePage)
{
    const PageContent page =
        HtmlPageReader::read("<!DOCTYPE html><html><head><title> Kontakt &amp; Anfahrt </title>"
                             "<script>var nav = 'Menü';</script><style>p{}</style></head><body>"
                             "<nav><a href=/>Startseite</a></nav>"
                             "<h1>So finden <em>Sie</em> uns</h1>"
                             "<p>Wir sind im <b>Rathaus</b>,<br>2. Stock"
                             "<p>Telefon 123"
                             "<ul><li>Bus 4<li>Bahn S1</ul><h4>Klein</h4>"
                             "<footer>© Verein</footer></body></html>");
    EXPECT_EQ(page.Title, "Kontakt & Anfahrt");
    EXPECT_EQ(page.Headings, (Words{"So finden Sie uns"}));
    EXPECT_EQ(page.Blocks, (Words{"Wir sind im Rathaus,", "2. Stock", "Telefon 123", "Bus 4",
                                  "Bahn S1", "Klein"}));
}

TEST(HtmlPageReader, TakesTheFirstHeadingForAMissingTitle)
{
    std::string nested = "<h2>Geschichte</h2>";
    for (int i = 0; i < 500; ++i)
        nested += "<div>";
    nested += "tief";
    const PageContent page = HtmlPageReader::read(nested);
    EXPECT_EQ(page.Title, "Geschichte");
    EXPECT_EQ(page.Blocks, (Words{"tief"}));
}

TEST(PageCharset, DecodesByTheDeclaredCharsetElseByWhatTheBytesAre)
{
    const std::string latin1Page = "<meta http-equiv=\"Content-Type\" content=\"text/html; "
                                   "charset=ISO-8859-1\"><p>Gr\xFC\xDF"
                                   "e</p>";
    EXPECT_NE(PageCharset::toUtf8(latin1Page).find("Grüße"), std::string::npos);
    // The server's word counts before the page's.
    const std::string utf8Bytes = "<meta charset=\"iso-8859-1\"><p>Gr\xC3\xBC\xC3\x9F"
                                  "e</p>";
    EXPECT_NE(PageCharset::toUtf8(utf8Bytes, "text/html; charset=utf-8").find("Grüße"),
              std::string::npos);
    // Without a declaration, bytes that are no UTF-8 are the 8-bit code page.
    EXPECT_EQ(PageCharset::toUtf8("<p>\x93"
                                  "Zitat\x94</p>"),
              "<p>“Zitat”</p>");
    EXPECT_EQ(PageCharset::declared("<meta charset='windows-1252'>"), "windows-1252");
    EXPECT_EQ(PageCharset::declared("<p>no charset</p>"), "");
}

SitePage page(std::string title, Words blocks)
{
    return {"", "", {std::move(title), {"Menü"}, std::move(blocks)}};
}

TEST(SiteBoilerplate, RemovesTextOnALargeShareOfPagesAndTheSiteNameFromTitles)
{
    std::vector<SitePage> site;
    for (int i = 0; i < 12; ++i)
        site.push_back(page("Seite " + std::to_string(i) + " | Verein",
                            {"Start Verein Kontakt", "Inhalt " + std::to_string(i)}));
    site.push_back(page("Verein", {"Impressum"}));
    SiteBoilerplate::remove(site);
    EXPECT_EQ(site[3].Content.Title, "Seite 3");
    EXPECT_EQ(site[3].Content.Blocks, (Words{"Inhalt 3"}));
    EXPECT_TRUE(site[3].Content.Headings.empty());
    // A title of the site's name alone stays the page's title.
    EXPECT_EQ(site[12].Content.Title, "Verein");

    // Two pages are no frame: what they share stays.
    std::vector<SitePage> small{page("A", {"gleich"}), page("B", {"gleich"})};
    SiteBoilerplate::remove(small);
    EXPECT_EQ(small[1].Content.Blocks, (Words{"gleich"}));
    EXPECT_EQ(SiteBoilerplate::titleParts("a - b | c — d"), (Words{"a", "b", "c", "d"}));
}

} // namespace
