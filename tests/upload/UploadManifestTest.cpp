#include "UploadManifest.h"

#include <gtest/gtest.h>

namespace {

const std::string Target = "sftp://anna@example.com/htdocs";
const std::string HashA(64, 'a');
const std::string HashB(64, 'b');

} // namespace

TEST(UploadManifestTest, ReadsBackWhatItWrote)
{
    UploadManifest written(Target);
    written.set("index.htm", {12, HashA});
    written.set("Über uns/Team, \"Leitung\".htm", {0, HashB});
    const UploadManifest read = UploadManifest::parse(written.text(), Target);
    ASSERT_EQ(read.size(), 2u);
    EXPECT_EQ(*read.find("index.htm"), (UploadManifest::Entry{12, HashA}));
    EXPECT_EQ(*read.find("Über uns/Team, \"Leitung\".htm"), (UploadManifest::Entry{0, HashB}));
}

TEST(UploadManifestTest, AnotherTargetsManifestCountsAsEmpty)
{
    UploadManifest written(Target);
    written.set("index.htm", {12, HashA});
    EXPECT_EQ(UploadManifest::parse(written.text(), "sftp://anna@example.com/other").size(), 0u);
    EXPECT_EQ(UploadManifest::parse("", Target).size(), 0u);
}

// Hand-edited or damaged records are left out; their files go up again.
TEST(UploadManifestTest, SkipsRecordsThatAreNotWhole)
{
    const std::string text = "Ziel," + Target + "\r\nPfad,Größe,SHA-256\r\n" + "gut.htm,5," +
                             HashA + "\r\n" + "kurz.htm,5,abc\r\n" + "zahl.htm,fünf," + HashA +
                             "\r\n" + ",5," + HashA + "\r\n" + "gross.htm,5," +
                             std::string(64, 'A') + "\r\n";
    const UploadManifest read = UploadManifest::parse(text, Target);
    EXPECT_EQ(read.size(), 1u);
    EXPECT_NE(read.find("gut.htm"), nullptr);
}

// A kill can tear the journal's last line; every whole record before it
// counts, later ones replace earlier ones.
TEST(UploadManifestTest, JournalAddsItsWholeRecordsOnly)
{
    UploadManifest manifest(Target);
    manifest.set("alt.htm", {1, HashA});
    const std::string journal = manifest.journalHeader() +
                                UploadManifest::journalRecord("alt.htm", {2, HashB}) +
                                UploadManifest::journalRecord("neu.htm", {3, HashA}) +
                                UploadManifest::journalRecord("halb.htm", {4, HashA}).substr(0, 20);
    EXPECT_TRUE(manifest.applyJournal(journal));
    EXPECT_EQ(*manifest.find("alt.htm"), (UploadManifest::Entry{2, HashB}));
    EXPECT_NE(manifest.find("neu.htm"), nullptr);
    EXPECT_EQ(manifest.find("halb.htm"), nullptr);
    // Even a torn record that happens to end at a field boundary.
    manifest.applyJournal(manifest.journalHeader() + "spaet.htm,4," + HashA);
    EXPECT_EQ(manifest.find("spaet.htm"), nullptr);
}

// A killed upload to one target says nothing about another.
TEST(UploadManifestTest, JournalOfAnotherTargetIsLeftOut)
{
    UploadManifest other("ftp://woanders/");
    UploadManifest manifest(Target);
    EXPECT_FALSE(manifest.applyJournal(other.journalHeader() +
                                       UploadManifest::journalRecord("neu.htm", {3, HashA})));
    EXPECT_EQ(manifest.find("neu.htm"), nullptr);
}
