#include "TemplateText.h"

#include <gtest/gtest.h>
#include <string>

namespace {

struct RoundTrip
{
    const char* name;
    std::string bytes;
    QString shown;
    TextCodec::Encoding encoding;
    bool crLf;
};

TEST(TemplateTextTest, ShowsTheFileAndGivesBackItsBytesWhenUnchanged)
{
    // clang-format off
    const RoundTrip cases[] = {
        {"empty", "", QString(), TextCodec::Encoding::Utf8, false},
        {"utf-8 with LF", "<p>Grüße</p>\n", QStringLiteral("<p>Grüße</p>\n"),
         TextCodec::Encoding::Utf8, false},
        {"windows-1252 with CRLF", "<p>Gr\xFC\xDF" "e \x80</p>\r\n</body>",
         QStringLiteral("<p>Grüße €</p>\n</body>"), TextCodec::Encoding::Windows1252, true},
        {"mixed line ends", "a\r\nb\nc\rd", QStringLiteral("a\nb\nc\nd"),
         TextCodec::Encoding::Utf8, true},
        {"no-break space", "a\xC2\xA0" "b", QStringLiteral("a\u00A0b"), TextCodec::Encoding::Utf8,
         false},
    };
    // clang-format on
    for (const RoundTrip& c : cases) {
        SCOPED_TRACE(c.name);
        const TemplateText file = TemplateText::fromBytes(c.bytes);
        EXPECT_EQ(file.text(), c.shown);
        EXPECT_EQ(file.encoding(), c.encoding);
        EXPECT_EQ(file.usesCrLf(), c.crLf);
        EXPECT_EQ(file.bytesFor(file.text()), c.bytes);
    }
}

TEST(TemplateTextTest, EditedTextKeepsTheFilesEncodingAndLineEnds)
{
    const TemplateText windows = TemplateText::fromBytes("<p>\xE4</p>\r\n");
    const std::string expected = "<p>Gr\xF6\xDF" + std::string("e</p>\r\n<p>neu</p>");
    EXPECT_EQ(windows.bytesFor(QStringLiteral("<p>Größe</p>\n<p>neu</p>")), expected);

    // Plain ASCII is valid UTF-8, so what is typed into it is saved as UTF-8.
    const TemplateText ascii = TemplateText::fromBytes("<p>alt</p>\r\n");
    EXPECT_EQ(ascii.bytesFor(QStringLiteral("<p>\u00E4</p>\n")), "<p>\xC3\xA4</p>\r\n");

    const TemplateText latin = TemplateText::fromBytes("<p>\xE4</p>");
    EXPECT_EQ(latin.bytesFor(QStringLiteral("weiter \u2192 hier \u20AC")),
              "weiter &#8594; hier \x80");

    const TemplateText unix = TemplateText::fromBytes("<p>\xC3\xA4</p>\n");
    EXPECT_EQ(unix.bytesFor(QStringLiteral("\u2192\n")), "\xE2\x86\x92\n");
}

TEST(TemplateTextTest, FileThatCouldNotBeReadIsSavedAsUtf8WithLineFeeds)
{
    const TemplateText missing;
    EXPECT_TRUE(missing.text().isEmpty());
    EXPECT_EQ(missing.bytesFor(QStringLiteral("ä\nb")), "\xC3\xA4\nb");
}

} // namespace
