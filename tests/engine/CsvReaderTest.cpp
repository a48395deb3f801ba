#include "CsvReader.h"

#include "PageMapping.h"

#include <gtest/gtest.h>

namespace {

using Fields = std::vector<std::vector<std::string>>;

struct CsvCase
{
    const char* name;
    std::string text;
    Fields fields;
    std::vector<std::size_t> lines;
};

// The examples of RFC 4180, section 2, and what hand-edited files add.
const CsvCase CsvCases[] = {
    {"TwoRecords",
     "aaa,bbb,ccc\r\nzzz,yyy,xxx\r\n",
     {{"aaa", "bbb", "ccc"}, {"zzz", "yyy", "xxx"}},
     {1, 2}},
    {"LastRecordWithoutBreak",
     "aaa,bbb,ccc\r\nzzz,yyy,xxx",
     {{"aaa", "bbb", "ccc"}, {"zzz", "yyy", "xxx"}},
     {1, 2}},
    {"QuotedFields",
     "\"aaa\",\"bbb\",\"ccc\"\r\nzzz,yyy,xxx",
     {{"aaa", "bbb", "ccc"}, {"zzz", "yyy", "xxx"}},
     {1, 2}},
    {"LineBreakInQuotes",
     "\"aaa\",\"b\r\nbb\",\"ccc\"\r\nzzz,yyy,xxx",
     {{"aaa", "b\r\nbb", "ccc"}, {"zzz", "yyy", "xxx"}},
     {1, 3}},
    {"DoubledQuote", "\"aaa\",\"b\"\"bb\",\"ccc\"", {{"aaa", "b\"bb", "ccc"}}, {1}},
    {"SpacesBelongToTheField", " aaa , bbb", {{" aaa ", " bbb"}}, {1}},
    {"CommaInQuotes", "\"a,b\",c\n", {{"a,b", "c"}}, {1}},
    {"LoneLineFeeds", "a,b\nc,d\n", {{"a", "b"}, {"c", "d"}}, {1, 2}},
    {"EmptyFields", ",\r\n\"\",x", {{"", ""}, {"", "x"}}, {1, 2}},
    {"EmptyText", "", {}, {}},
};

class CsvReading : public testing::TestWithParam<CsvCase>
{
};

TEST_P(CsvReading, GivesFieldsAndStartLines)
{
    std::optional<CsvReader::Error> error;
    const auto records = CsvReader::parse(GetParam().text, error);
    ASSERT_FALSE(error) << error->Reason;
    Fields fields;
    std::vector<std::size_t> lines;
    for (const auto& record : records) {
        fields.push_back(record.Fields);
        lines.push_back(record.Line);
    }
    EXPECT_EQ(fields, GetParam().fields);
    EXPECT_EQ(lines, GetParam().lines);
}

INSTANTIATE_TEST_SUITE_P(Rfc4180, CsvReading, testing::ValuesIn(CsvCases),
                         [](const auto& info) { return std::string(info.param.name); });

struct MalformedCase
{
    std::string text;
    std::size_t line;
    std::string reason;
};

TEST(CsvReader, NamesTheLineOfAMalformedRecord)
{
    const MalformedCase cases[] = {
        {"a,b\r\n\"open,c\r\nd", 2, "Anführungszeichen nicht geschlossen"},
        {"a,b\r\nc,d\"e\r\n", 2, "Anführungszeichen mitten im Feld"},
        {"a\n\"x\"y,z\n", 2, "Zeichen nach dem schließenden Anführungszeichen"},
    };
    for (const MalformedCase& c : cases) {
        std::optional<CsvReader::Error> error;
        EXPECT_TRUE(CsvReader::parse(c.text, error).empty()) << c.text;
        ASSERT_TRUE(error) << c.text;
        EXPECT_EQ(error->Line, c.line) << c.text;
        EXPECT_EQ(error->Reason, c.reason) << c.text;
    }
}

TEST(PageMapping, ReadsPathsAndUrlsAndRemembersWhichNoPageAskedFor)
{
    std::string error;
    PageMapping mapping =
        PageMapping::parse("\xEF\xBB\xBF"
                           "alte Datei,neue URL\r\n"
                           "z.htm,https://neu.example/z\r\n"
                           "\r\n"
                           "\"x/mit, \"\"Komma\"\".htm\",\"http://neu.example/b?c=1,2\"\n"
                           "a.htm,https://neu.example/A\r\n",
                           error);
    ASSERT_EQ(error, "");
    EXPECT_EQ(mapping.size(), 3u);
    EXPECT_EQ(mapping.urlFor("x/mit, \"Komma\".htm"), "http://neu.example/b?c=1,2");
    EXPECT_EQ(mapping.urlFor("A.htm"), std::nullopt);
    EXPECT_EQ(mapping.unusedPaths(), (std::vector<std::string>{"z.htm", "a.htm"}));
}

// A suggested mapping goes to --map as it is: its verdicts and scores are
// not the mapping's business, and a page without a match keeps its mirror.
TEST(PageMapping, TakesASuggestedMappingIgnoringExtraColumnsAndEmptyAddresses)
{
    std::string error;
    PageMapping mapping =
        PageMapping::parse("alte Datei,neue URL,Urteil,Wert,zweite URL\r\n"
                           "a.htm,https://neu.example/a/,sicher,0.91,https://neu.example/b/\r\n"
                           "b.htm,,kein Treffer,0.12,https://neu.example/a/\r\n"
                           "c.htm,https://neu.example/c,unsicher,0.40,\r\n",
                           error);
    ASSERT_EQ(error, "");
    EXPECT_EQ(mapping.size(), 2u);
    EXPECT_EQ(mapping.urlFor("a.htm"), "https://neu.example/a/");
    EXPECT_EQ(mapping.urlFor("b.htm"), std::nullopt);
    EXPECT_EQ(mapping.urlFor("c.htm"), "https://neu.example/c");

    // An extra column does not excuse a faulty address.
    PageMapping::parse("a.htm,neu/a,sicher\r\n", error);
    EXPECT_NE(error.find("Zeile 1: keine absolute URL"), std::string::npos) << error;
}

TEST(PageMapping, RefusesAMalformedLineNamingIt)
{
    const std::pair<std::string, std::string> cases[] = {
        {"a.htm,http://n.example/a\nb.htm\n", "Zeile 2: zwei Felder erwartet"},
        {"alte Datei,neue URL\na.htm,\"http://n.example/a\n", "Zeile 2: Anführungszeichen nicht"},
        {"a.htm,/relativ.htm\n", "Zeile 1: keine absolute URL"},
        {"a.htm,javascript:alert(1)\n", "Zeile 1: keine absolute URL"},
        {"a.htm,https:///a\n", "Zeile 1: die URL nennt keinen Rechner"},
        {"a.htm,http://n.example/<b>\n", "Zeile 1: Steuerzeichen"},
        {"\n\n,http://n.example/\n", "Zeile 3: die alte Datei fehlt"},
        {"a.htm,http://n.example/1\na.htm,http://n.example/2\n",
         "Zeile 2: a.htm steht schon in Zeile 1"},
    };
    for (const auto& [text, expected] : cases) {
        std::string error;
        EXPECT_TRUE(PageMapping::parse(text, error).empty()) << text;
        EXPECT_NE(error.find("Zuordnungsdatei, " + expected), std::string::npos)
            << text << " gave " << error;
    }
}

} // namespace
