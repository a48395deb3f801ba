#include "Sha256.h"

#include <gtest/gtest.h>

// The test vectors of FIPS 180-2, plus lengths around the padding boundary,
// where an off-by-one in the length block shows.
TEST(Sha256Test, MatchesTheStandardVectors)
{
    EXPECT_EQ(Sha256::hex(""), "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855");
    EXPECT_EQ(Sha256::hex("abc"),
              "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
    EXPECT_EQ(Sha256::hex("abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq"),
              "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1");
    EXPECT_EQ(Sha256::hex(std::string(1'000'000, 'a')),
              "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0");
    // 55 bytes still fit the length into the last block, 56 do not.
    EXPECT_EQ(Sha256::hex(std::string(55, 'x')),
              "d5e285683cd4efc02d021a5c62014694958901005d6f71e89e0989fac77e4072");
    EXPECT_EQ(Sha256::hex(std::string(56, 'x')),
              "04c26261370ee7541549d16dee320c723e3fd14671e66a099afe0a377c16888e");
}

TEST(Sha256Test, PiecesGiveTheSameDigestAsTheWhole)
{
    const std::string text(200, 'k');
    Sha256 pieces;
    pieces.add(text.substr(0, 63));
    pieces.add(text.substr(63, 2));
    pieces.add(text.substr(65));
    Sha256 whole;
    whole.add(text);
    EXPECT_EQ(pieces.finish(), whole.finish());
}

// ssh-keygen -l shows SHA-256 as unpadded Base64.
TEST(Sha256Test, Base64IsUnpadded)
{
    EXPECT_EQ(Sha256::base64("abc"), "ungWv48Bz+pBQUDeXa4iI7ADYaOWF3qctBD/YfIAFa0");
}
