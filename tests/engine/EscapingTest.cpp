#include "PageTemplate.h"
#include "ShownText.h"
#include "SystemErrorText.h"
#include "TemplateCharset.h"

#include <cerrno>
#include <gtest/gtest.h>

namespace {

struct ReaderCase
{
    const char* name;
    std::string templateText;
    std::string url;
    std::string expected;
};

// The browser must read back exactly the URL text wherever the template puts
// it, so that a reference in the URL is never decoded and nothing ends the
// attribute, the literal or the script element.
TEST(PageTemplate, EscapesTheUrlForWhatReadsItThere)
{
    const ReaderCase cases[] = {
        {"attribute", "<a href=\"%URL%\">", "jav&#97;script:x",
         "<a href=\"jav&amp;#97;script:x\">"},
        {"reference in a mapped URL", "<a href='%URL%'>%URL%</a>", "http://n/?a=1&copy=2",
         "<a href='http://n/?a=1&amp;copy=2'>http://n/?a=1&amp;copy=2</a>"},
        {"quotes and brackets", "<meta content=\"0; url=%URL%\">", "http://n/\"'<>",
         "<meta content=\"0; url=http://n/&quot;&#39;&lt;&gt;\">"},
        {"script literal", "<script>var u = \"%URL%\";</script>", "http://n/</script>\"'\\",
         "<script>var u = \"http://n/\\u003C/script\\u003E\\u0022\\u0027\\u005C\";</script>"},
        {"line terminators in a script", "<SCRIPT type=x>'%url%'</SCRIPT>",
         "http://n/\xE2\x80\xA8\xE2\x80\xA9&",
         "<SCRIPT type=x>'http://n/\\u2028\\u2029\\u0026'</SCRIPT>"},
        {"after the script", "<script>x</script><a href=\"%URL%\">", "a&b",
         "<script>x</script><a href=\"a&amp;b\">"},
        {"a tag named like script", "<scripts>%URL%", "a&b", "<scripts>a&amp;b"},
        {"script tag in a comment", "<!-- <script> --><a href=\"%URL%\"><script>'%URL%'", "a&b",
         "<!-- <script> --><a href=\"a&amp;b\"><script>'a\\u0026b'"},
        {"attribute of the script tag", "<script src=\"%URL%\"></script>", "a&b",
         "<script src=\"a&amp;b\"></script>"},
        {"event handler", "<body onload=\"location.replace('%URL%')\">", "http://n/');x()//&",
         "<body onload=\"location.replace('http://n/\\u0027);x()//\\u0026')\">"},
        {"event handler without quotes", "<a ONCLICK=go('%URL%')>", "a b=`'",
         "<a ONCLICK=go('a&#32;b&#61;\\u0060\\u0027')>"},
        {"value without quotes", "<a href=%URL% title=x>", "http://n/a onmouseover=x()",
         "<a href=http://n/a&#32;onmouseover&#61;x() title=x>"},
        {"after a handler the tag goes on", "<a onclick=\"x\" href='%URL%'>", "a&b'",
         "<a onclick=\"x\" href='a&amp;b&#39;'>"},
        {"style sheet", "<STYLE>b{background:url(\"%URL%\")}</STYLE><b>%URL%",
         "http://n/?a=1&b=</style>\" x(\\",
         "<STYLE>b{background:url(\"http://n/?a=1&b=\\3C /style\\3E \\22 \\20 x\\28 \\5C "
         "\")}</STYLE>"
         "<b>http://n/?a=1&amp;b=&lt;/style&gt;&quot; x(\\"},
    };
    for (const ReaderCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(PageTemplate(c.templateText).render(c.url), c.expected);
    }
}

struct CharsetCase
{
    const char* name;
    std::string bytes;
    TextCodec::Encoding expected;
};

TEST(TemplateCharset, ADeclaredCharsetWinsOverTheBytes)
{
    using E = TextCodec::Encoding;
    const CharsetCase cases[] = {
        {"UTF-8 declared, Latin-1 byte in a comment",
         "<head><meta charset=\"utf-8\"><!-- f\xFCr --></head>", E::Utf8},
        {"Latin-1 declared, UTF-8 bytes", "<META CHARSET=ISO-8859-1>\xC3\xBC", E::Windows1252},
        {"http-equiv",
         "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=UTF-8\">\xFC", E::Utf8},
        {"declaration in a comment only", "<!-- <meta charset=utf-8> -->\xFC", E::Windows1252},
        {"after the body", "<body><meta charset=utf-8>\xFC", E::Windows1252},
        {"no declaration, UTF-8 bytes", "<p>\xC3\xBC</p>", E::Utf8},
        {"unknown label: guessed", "<meta charset=\"koi8-r\">\xFC", E::Windows1252},
    };
    for (const CharsetCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(TemplateCharset::of(c.bytes), c.expected);
    }
}

TEST(ShownText, ControlCharactersAndStrayBytesBecomeVisible)
{
    EXPECT_EQ(ShownText::visible("a\nb\tc\rd"), "a\\nb\\tc\\rd");
    EXPECT_EQ(ShownText::visible("\x1B[2J\x7F"), "\\x1B[2J\\x7F");
    EXPECT_EQ(ShownText::visible("csi\xC2\x9B"
                                 "31m"),
              "csi\\u009B31m");
    EXPECT_EQ(ShownText::visible("caf\xE9.htm \xC3\xBC\xE2\x82\xAC"),
              "caf\\xE9.htm \xC3\xBC\xE2\x82\xAC");
    EXPECT_EQ(ShownText::visible("Zeile\r\nname\n.htm", true), "Zeile\r\nname\\n.htm");
    EXPECT_EQ(ShownText::visible("a\r\nb"), "a\\r\\nb");
}

TEST(SystemErrorText, CommonReasonsInGermanOthersWithTheirNumber)
{
    const auto german = [](int number) {
        return SystemErrorText::german(std::error_code(number, std::generic_category()));
    };
    EXPECT_EQ(german(ENOENT), "Datei oder Ordner nicht gefunden");
    EXPECT_EQ(german(EACCES), "Zugriff verweigert");
    EXPECT_EQ(german(ENOSPC), "Kein Platz mehr auf dem Datenträger");
    EXPECT_EQ(german(ENAMETOOLONG), "Name zu lang");
    EXPECT_EQ(german(ENOTDIR), "Ein Teil des Pfades ist kein Ordner");
    EXPECT_EQ(german(EDOM).rfind("Systemfehler " + std::to_string(EDOM) + ": ", 0), 0u);
}

} // namespace
