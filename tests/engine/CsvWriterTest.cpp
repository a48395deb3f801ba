#include "CsvWriter.h"

#include "CsvReader.h"
#include "PageMapping.h"

#include <gtest/gtest.h>

namespace {

struct FieldCase
{
    const char* name;
    std::string field;
    std::string written;
};

const FieldCase FieldCases[] = {
    {"Plain", "a b.htm", "a b.htm,x\r\n"},
    {"Empty", "", ",x\r\n"},
    {"Comma", "a,b", "\"a,b\",x\r\n"},
    {"Quote", "say \"hi\"", "\"say \"\"hi\"\"\",x\r\n"},
    {"CarriageReturn", "a\rb", "\"a\rb\",x\r\n"},
    {"LineFeed", "a\nb", "\"a\nb\",x\r\n"},
    {"SpacesStayUnquoted", " a ", " a ,x\r\n"},
};

class CsvWriting : public testing::TestWithParam<FieldCase>
{
};

TEST_P(CsvWriting, QuotesOnlyWhatNeedsItAndReadsBack)
{
    CsvWriter csv;
    csv.addRecord({GetParam().field, "x"});
    EXPECT_EQ(csv.text(), GetParam().written);

    std::optional<CsvReader::Error> error;
    const auto records = CsvReader::parse(csv.text(), error);
    ASSERT_FALSE(error) << error->Reason;
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].Fields, (std::vector<std::string>{GetParam().field, "x"}));
}

INSTANTIATE_TEST_SUITE_P(Fields, CsvWriting, testing::ValuesIn(FieldCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(CsvWriterAudience, OnlyFilesForPeopleStartWithAByteOrderMark)
{
    CsvWriter forPeople(CsvWriter::Audience::People);
    forPeople.addRecord({"\xC3\x9C"
                         "ber uns.htm",
                         "https://n.example/team"});
    EXPECT_EQ(forPeople.text(), "\xEF\xBB\xBF\xC3\x9C"
                                "ber uns.htm,https://n.example/team\r\n");
    CsvWriter forPrograms;
    forPrograms.addRecord({"a.htm"});
    EXPECT_EQ(forPrograms.text(), "a.htm\r\n");

    // A list written for people can be edited into a mapping file.
    std::string error;
    PageMapping mapping = PageMapping::parse(forPeople.text(), error);
    EXPECT_EQ(error, "");
    EXPECT_EQ(mapping.urlFor("\xC3\x9C"
                             "ber uns.htm"),
              "https://n.example/team");
}

} // namespace
