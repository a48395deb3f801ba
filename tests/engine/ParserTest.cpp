#include "EngineError.h"
#include "clsParser.h"

#include <gtest/gtest.h>

namespace {

using Entries = std::vector<std::string>;

Entries parse(const std::string& text)
{
    clsParser parser;
    parser.InputText = text;
    return parser.TextList();
}

struct SplitCase
{
    std::string input;
    Entries expected;
};

class ParserSplit : public testing::TestWithParam<SplitCase>
{
};

TEST_P(ParserSplit, YieldsEntriesInOrder)
{
    EXPECT_EQ(parse(GetParam().input), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Lists, ParserSplit,
    testing::Values(
        SplitCase{"htm;html;asp;php;php3;php4;shtml;shtm;shm;",
                  {"htm", "html", "asp", "php", "php3", "php4", "shtml", "shtm", "shm"}},
        SplitCase{"htm;html", {"htm", "html"}}, SplitCase{"htm;html;", {"htm", "html"}},
        SplitCase{"", {""}}, SplitCase{";", {""}}, SplitCase{"htm;;html", {"htm", "", "html"}},
        SplitCase{"htm; html", {"htm", " html"}}, SplitCase{"HTM", {"HTM"}},
        SplitCase{"1-3;x", {"1", "2", "3", "x"}}, SplitCase{"3-3", {"3"}},
        SplitCase{"x;5-3;y", {"x", "y"}}, SplitCase{"1-2-4", {"2", "3", "4"}},
        SplitCase{" 1 - 2 ", {"1", "2"}}, SplitCase{"+1-2", {"1", "2"}},
        SplitCase{"32766-32767", {"32766", "32767"}}));

TEST(Parser, RangeUpToTheLargestBoundEnds)
{
    const Entries entries = parse("32760-32767");
    ASSERT_EQ(entries.size(), 8u);
    EXPECT_EQ(entries.back(), "32767");
}

TEST(Parser, TextOfOnlyEmptyRangesKeepsTheEntriesOfTheLastParse)
{
    clsParser parser;
    parser.InputText = "5-3";
    EXPECT_TRUE(parser.TextList().empty());
    parser.InputText = "htm";
    EXPECT_EQ(parser.TextList(), Entries{"htm"});
    parser.InputText = "5-3";
    EXPECT_EQ(parser.TextList(), Entries{"htm"});
}

struct ErrorCase
{
    std::string input;
    EngineError::Kind kind;
};

class ParserError : public testing::TestWithParam<ErrorCase>
{
};

TEST_P(ParserError, RejectsRangeSidesThatAreNo16BitNumber)
{
    try {
        parse(GetParam().input);
        FAIL() << "no error for " << GetParam().input;
    } catch (const EngineError& error) {
        EXPECT_EQ(error.kind(), GetParam().kind);
        EXPECT_NE(std::string(error.what()).find("Dateitypen"), std::string::npos);
    }
}

INSTANTIATE_TEST_SUITE_P(Ranges, ParserError,
                         testing::Values(ErrorCase{"a-b", EngineError::Kind::TypeMismatch},
                                         ErrorCase{"-5", EngineError::Kind::TypeMismatch},
                                         ErrorCase{"5-", EngineError::Kind::TypeMismatch},
                                         ErrorCase{"1.5-3", EngineError::Kind::TypeMismatch},
                                         ErrorCase{"1-40000", EngineError::Kind::Overflow},
                                         ErrorCase{"1-99999999999999999999999",
                                                   EngineError::Kind::Overflow}));

} // namespace
