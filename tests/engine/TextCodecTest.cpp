#include "TextCodec.h"

#include <gtest/gtest.h>

namespace {

using Encoding = TextCodec::Encoding;
using Unencodable = TextCodec::Unencodable;

TEST(TextCodec, RecognisesWellFormedUtf8Only)
{
    EXPECT_TRUE(TextCodec::isValidUtf8(""));
    EXPECT_TRUE(TextCodec::isValidUtf8("plain ASCII"));
    EXPECT_TRUE(TextCodec::isValidUtf8("Gr\xC3\xBC\xC3\x9F"
                                       "e \xE2\x82\xAC \xF0\x9F\x98\x80"));
    EXPECT_FALSE(TextCodec::isValidUtf8("Gr\xFC\xDF"
                                        "e"));                // Windows-1252
    EXPECT_FALSE(TextCodec::isValidUtf8("\xC0\xAF"));         // overlong
    EXPECT_FALSE(TextCodec::isValidUtf8("\xED\xA0\x80"));     // surrogate
    EXPECT_FALSE(TextCodec::isValidUtf8("\xE2\x82"));         // cut short
    EXPECT_FALSE(TextCodec::isValidUtf8("\xF4\x90\x80\x80")); // beyond U+10FFFF
    EXPECT_EQ(TextCodec::detect("\xE4"), Encoding::Windows1252);
}

TEST(TextCodec, EveryWindows1252ByteRoundTrips)
{
    std::string everyByte;
    for (int b = 0; b < 256; ++b)
        everyByte += static_cast<char>(b);
    const std::string text = TextCodec::toUtf8(everyByte, Encoding::Windows1252);
    EXPECT_TRUE(TextCodec::isValidUtf8(text));
    EXPECT_EQ(TextCodec::fromUtf8(text, Encoding::Windows1252, Unencodable::CharacterReference),
              everyByte);
    EXPECT_EQ(TextCodec::toUtf8("\x80\xE4", Encoding::Windows1252), "\xE2\x82\xAC\xC3\xA4");
}

TEST(TextCodec, WritesWhatWindows1252CannotHoldByPolicy)
{
    const std::string arrowAndUmlaut = "\xE2\x86\x92\xC3\xA4";
    EXPECT_EQ(
        TextCodec::fromUtf8(arrowAndUmlaut, Encoding::Windows1252, Unencodable::CharacterReference),
        "&#8594;\xE4");
    EXPECT_EQ(
        TextCodec::fromUtf8(arrowAndUmlaut, Encoding::Windows1252, Unencodable::PercentEncode),
        "%E2%86%92\xE4");
}

TEST(TextCodec, Utf8TargetKeepsTextAndEscapesStrayBytesInUrls)
{
    EXPECT_EQ(TextCodec::fromUtf8("\xC3\xA4", Encoding::Utf8, Unencodable::PercentEncode),
              "\xC3\xA4");
    EXPECT_EQ(TextCodec::fromUtf8("a\xFF", Encoding::Utf8, Unencodable::PercentEncode), "a%FF");
    EXPECT_EQ(TextCodec::fromUtf8("a\xFF", Encoding::Utf8, Unencodable::CharacterReference),
              "a\xFF");
}

} // namespace
