#include "RemoteListing.h"

#include <gtest/gtest.h>

// Lines as vsftpd's LIST and OpenSSH's SFTP long names give them.
TEST(RemoteListingTest, ReadsNamesSizesAndFoldersOfBothServers)
{
    const RemoteListing listing = RemoteListing::parse(
        "drwxr-xr-x    2 1        1            4096 Dec 07 23:06 sub dir\r\n"
        "-rw-r--r--    1 1        1               8 Dec 07 23:06 index.htm\r\n"
        "-rw-r--r-- 1 nobody nogroup 1234567890123 Jan  1  2020 Über uns, Team.htm\n"
        "-rw-r--r--    1 1        1               6 Dec 07 23:06 .htaccess\n"
        "drwxr-xr-x    3 0        0            4096 Dec 07 23:06 .\n"
        "drwxr-xr-x    3 0        0            4096 Dec 07 23:06 ..\n"
        "lrwxrwxrwx    1 0        0               4 Dec 07 23:06 link -> index.htm\n"
        "total 12\n"
        "-rw-r--r--    1 1        1             1x2 Dec 07 23:06 kaputt.htm\n");
    ASSERT_NE(listing.find("sub dir"), nullptr);
    EXPECT_TRUE(listing.find("sub dir")->Folder);
    ASSERT_NE(listing.find("index.htm"), nullptr);
    EXPECT_EQ(listing.find("index.htm")->Size, 8u);
    EXPECT_FALSE(listing.find("index.htm")->Folder);
    ASSERT_NE(listing.find("Über uns, Team.htm"), nullptr);
    EXPECT_EQ(listing.find("Über uns, Team.htm")->Size, 1234567890123u);
    EXPECT_NE(listing.find(".htaccess"), nullptr);
    // A link's target is unknown, and a size that is no number is no size.
    EXPECT_EQ(listing.find("link"), nullptr);
    EXPECT_EQ(listing.find("kaputt.htm"), nullptr);
    EXPECT_EQ(listing.entries().size(), 4u);
}
