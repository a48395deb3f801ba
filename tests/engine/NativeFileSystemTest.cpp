#include "NativeFileSystem.h"

#include "EngineError.h"
#include "OpenFolder.h"
#include "OutputTree.h"
#include "TreePlacement.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

class NativeFiles : public testing::Test
{
protected:
    NativeFiles()
    {
        const auto* test = testing::UnitTest::GetInstance()->current_test_info();
        root = fs::temp_directory_path() /
               ("kelvane-fs-" + std::string(test->name()) + "-" + std::to_string(::getpid()));
        fs::remove_all(root);
        fs::create_directories(root);
    }
    ~NativeFiles() override { fs::remove_all(root); }

    std::string path(const std::string& relative) const { return (root / relative).string(); }

    void put(const std::string& relative, const std::string& bytes = "x") const
    {
        fs::create_directories((root / relative).parent_path());
        std::ofstream(root / relative, std::ios::binary) << bytes;
    }

    std::vector<std::string> entriesOf(const std::string& relative) const
    {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(root / relative))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    fs::path root;
    NativeFileSystem files;
};

TEST_F(NativeFiles, WritesAndReplacesAtomicallyLeavingNoTemporaryFile)
{
    files.WriteFile(path("page.htm"), std::string("a\0b", 3));
    EXPECT_EQ(files.ReadAll(path("page.htm")), std::string("a\0b", 3));
    files.WriteLine(path("page.htm"), "new");
    EXPECT_EQ(files.ReadAll(path("page.htm")), "new\r\n");
    files.WriteFile(path("empty.htm"), "");
    EXPECT_EQ(files.ReadAll(path("empty.htm")), "");
    EXPECT_EQ(entriesOf(""), (std::vector<std::string>{"empty.htm", "page.htm"}));
}

TEST_F(NativeFiles, FailedWritesReportThePathAndLeaveNothingBehind)
{
    fs::create_directory(root / "taken.htm");
    for (const std::string& target : {path("missing/page.htm"), path("taken.htm")}) {
        try {
            files.WriteFile(target, "x");
            FAIL() << "no error writing " << target;
        } catch (const EngineError& error) {
            EXPECT_EQ(error.kind(), EngineError::Kind::FileSystem);
            EXPECT_NE(std::string(error.what()).find(target), std::string::npos);
        }
    }
    EXPECT_EQ(entriesOf(""), std::vector<std::string>{"taken.htm"});
    EXPECT_TRUE(entriesOf("taken.htm").empty());
}

TEST_F(NativeFiles, ReadingAMissingFileNamesIt)
{
    try {
        files.ReadAll(path("benutzer.htm"));
        FAIL();
    } catch (const EngineError& error) {
        EXPECT_NE(std::string(error.what()).find(path("benutzer.htm")), std::string::npos);
    }
}

TEST_F(NativeFiles, ListsFilesAndFoldersSortedAndSkipsLinksToFolders)
{
    put("site/b.htm");
    put("site/a.htm");
    put("site/sub/c.htm");
    fs::create_directory(root / "site" / "asub");
    const std::string base = path("site") + PathSeparator;
    std::vector<std::string> expectedFiles = {base + "a.htm", base + "b.htm"};
    std::vector<std::string> expectedLinks;
#ifndef _WIN32 // mingw's standard library makes no links
    fs::create_directory_symlink(root / "site", root / "site" / "loop");
    fs::create_symlink(root / "site" / "a.htm", root / "site" / "link.htm");
    fs::create_symlink(root / "gone", root / "site" / "dangling.htm");
    expectedFiles = {base + "a.htm", base + "b.htm", base + "dangling.htm", base + "link.htm"};
    expectedLinks = {base + "loop"};
#endif

    const FolderContents contents = files.ListFolder(path("site"));
    EXPECT_EQ(contents.Files, expectedFiles);
    EXPECT_EQ(contents.SubFolders, (std::vector<std::string>{base + "asub", base + "sub"}));
    EXPECT_EQ(contents.SkippedLinks, expectedLinks) << "left out, but not unsaid";
}

TEST_F(NativeFiles, FolderOperationsReportFailures)
{
    EXPECT_TRUE(files.FolderExists(root.string()));
    EXPECT_FALSE(files.FolderExists(path("nope")));
    EXPECT_FALSE(files.FolderExists(""));
    put("file.htm");
    EXPECT_FALSE(files.FolderExists(path("file.htm")));

    files.CreateFolder(path("new"));
    EXPECT_TRUE(files.FolderExists(path("new")));
    EXPECT_THROW(files.CreateFolder(path("new")), EngineError);
    EXPECT_THROW(files.CreateFolder(path("file.htm")), EngineError);
    EXPECT_THROW(files.CreateFolder(path("a/b")), EngineError);
    EXPECT_THROW(files.ListFolder(path("nope")), EngineError);
}

TEST_F(NativeFiles, TellsFilesFromFoldersAndProbesWritableFoldersWithoutTrace)
{
    put("page.htm");
    EXPECT_TRUE(files.FileExists(path("page.htm")));
    EXPECT_FALSE(files.FileExists(root.string()));
    EXPECT_FALSE(files.FileExists(path("nope.htm")));

    EXPECT_TRUE(files.FolderWritable(root.string()));
    EXPECT_FALSE(files.FolderWritable(path("nope")));
    EXPECT_EQ(entriesOf(""), std::vector<std::string>{"page.htm"});
}

TEST_F(NativeFiles, TemplatesThatAreNoRegularFileFailAtOnce)
{
    fs::create_directory(root / "folder.htm");
    std::vector<std::string> targets = {path("folder.htm")};
#ifndef _WIN32 // no FIFOs or device files there
    ASSERT_EQ(::mkfifo(path("fifo.htm").c_str(), 0600), 0);
    targets.insert(targets.end(), {path("fifo.htm"), "/dev/zero"});
#endif
    for (const std::string& target : targets)
        EXPECT_THROW(files.ReadAll(target), EngineError) << target;
}

TEST_F(NativeFiles, OutputTreeWritesLongNamesAndNeverFollowsALink)
{
    put("other/index.htm", "other site");
    put("site_Moved/page.htm", "old");
#ifndef _WIN32 // mingw's standard library makes no links
    fs::create_directory_symlink(root / "other", root / "site_Moved" / "sub");
    fs::create_symlink(root / "other" / "index.htm", root / "site_Moved" / "linked.htm");
#endif
    put("site_Moved/deep/.kvtmp-0a1b2c3d", "stale");
    put("site_Moved/deep/.kvtmp-keepme", "mine");
    const std::string longName = std::string(251, 'n') + ".htm";

    const auto tree = files.openOutputTree(path("site_Moved"));
    tree->enterFolder("");
    tree->writePage("linked.htm", "page");
    tree->writePage(longName, "long");
#ifndef _WIN32
    EXPECT_THROW(tree->enterFolder("/sub"), EngineError);
    EXPECT_THROW(tree->enterFolder("/sub/x"), EngineError);
#endif
    const std::string S(1, PathSeparator);
    tree->enterFolder(S + "deep" + S + "er");
    tree->enterFolder(S + "deep");
    tree->writePage("page.htm", "new");
    tree->flush();

    EXPECT_EQ(files.ReadAll(path("other/index.htm")), "other site");
    EXPECT_EQ(entriesOf("other"), std::vector<std::string>{"index.htm"});
    EXPECT_FALSE(fs::is_symlink(root / "site_Moved" / "linked.htm"));
    EXPECT_EQ(files.ReadAll(path("site_Moved/linked.htm")), "page");
    EXPECT_EQ(files.ReadAll(path("site_Moved/" + longName)), "long");
    EXPECT_EQ(entriesOf("site_Moved/deep"),
              (std::vector<std::string>{".kvtmp-keepme", "er", "page.htm"}));
}

TEST_F(NativeFiles, OneRunAtATimeHoldsAnOutputTree)
{
    const auto first = files.openOutputTree(path("site_Moved"));
    ASSERT_TRUE(first->lock());
    EXPECT_FALSE(files.openOutputTree(path("site_Moved"))->lock());
    EXPECT_TRUE(files.openOutputTree(path("other_Moved"))->lock());
}

#ifndef _WIN32 // the links this is about
TEST_F(NativeFiles, OutputRootAndReportMayNotLeadIntoTheSite)
{
    put("site/sub/index.htm");
    put("top_Moved/site/index.htm");
    put("file_Moved");
    fs::create_directories(root / "plain_Moved" / "new");
    fs::create_directories(root / "file");
    fs::create_directories(root / "plain");
    fs::create_directory_symlink(root / "site", root / "site_Moved");
    fs::create_directory_symlink(root / "top_Moved" / "site", root / "top");
    fs::create_directory_symlink(root / "site" / "sub", root / "via");
    EXPECT_THROW(files.openOutputTree(path("site_Moved")), EngineError);
    for (const char* refused : {"site", "top", "file"})
        EXPECT_NE(TreePlacement::outputRootRefusal(files, path(refused), refused), "") << refused;
    EXPECT_EQ(TreePlacement::outputRootRefusal(files, path("plain"), "plain"), "");

    const auto liesInTrees = [&](const char* folder, const char* site) {
        return TreePlacement::liesInTrees(files, *files.openFolder(path(folder)), path(site));
    };
    for (const char* inside : {"plain", "plain_Moved/new"})
        EXPECT_TRUE(liesInTrees(inside, "plain")) << inside;
    EXPECT_TRUE(liesInTrees("via", "site"));
    EXPECT_FALSE(liesInTrees("", "plain"));
}
#endif

// A bind mount shows the site under a second path that no link test sees and
// no comparison of path texts catches; only the identity tells. Mounting
// needs root, which the test runs of the build have.
TEST_F(NativeFiles, BindMountOfTheSiteIsKnownAsTheSite)
{
#ifdef _WIN32
    GTEST_SKIP() << "no bind mounts";
#else
    if (::geteuid() != 0)
        GTEST_SKIP() << "mounting needs root";
    put("site/index.htm", "old");
    fs::create_directories(root / "site_Moved");
    fs::create_directories(root / "other");
    const std::string mountPoint = path("site_Moved");
    ASSERT_EQ(std::system(("mount --bind '" + path("site") + "' '" + mountPoint + "'").c_str()), 0);
    const std::string refusal = TreePlacement::outputRootRefusal(files, path("site"), "site");
    const bool reportRefused =
        TreePlacement::liesInTrees(files, *files.openFolder(mountPoint), path("other"));
    std::system(("umount '" + mountPoint + "'").c_str());
    EXPECT_NE(refusal.find("führt in das Verzeichnis"), std::string::npos) << refusal;
    EXPECT_FALSE(reportRefused) << "another site's trees are not this one";
    EXPECT_TRUE(TreePlacement::liesInTrees(files, *files.openFolder(path("site")), path("site")));
    EXPECT_EQ(files.ReadAll(path("site/index.htm")), "old");
#endif
}

// Extra files go through a held folder: never onto what is not a regular
// file, and what a killed run left for one of them is removed.
TEST_F(NativeFiles, OpenFolderReplacesOnlyRegularFilesAndCleansItsOwnLeftovers)
{
    put("out/list.csv", "old");
    put("out/.list.csv.kvtmp-0a1b2c3d", "stale");
    put("out/.other.csv.kvtmp-0a1b2c3d", "someone else's");
    put("out/.list.csv.kvtmp-keepme", "not our pattern");
    fs::create_directories(root / "out" / "folder.csv");
    const auto folder = files.openFolder(path("out"));
    folder->removeStaleTemporaries({"list.csv"});
    folder->writeFile("list.csv", "new");
    folder->writeFile("fresh.csv", "fresh");
    EXPECT_EQ(files.ReadAll(path("out/list.csv")), "new");
    EXPECT_EQ(folder->entry("list.csv"), OpenFolder::Entry::RegularFile);
    EXPECT_EQ(folder->entry("missing.csv"), OpenFolder::Entry::Missing);
    EXPECT_EQ(folder->entry("folder.csv"), OpenFolder::Entry::Other);
    EXPECT_THROW(folder->writeFile("folder.csv", "x"), EngineError);
    EXPECT_EQ(entriesOf("out"),
              (std::vector<std::string>{".list.csv.kvtmp-keepme", ".other.csv.kvtmp-0a1b2c3d",
                                        "folder.csv", "fresh.csv", "list.csv"}));
#ifndef _WIN32
    ASSERT_EQ(::mkfifo(path("out/fifo.csv").c_str(), 0600), 0);
    fs::create_symlink(root / "out" / "list.csv", root / "out" / "link.csv");
    for (const char* refused : {"fifo.csv", "link.csv"}) {
        EXPECT_EQ(folder->entry(refused), OpenFolder::Entry::Other) << refused;
        EXPECT_THROW(folder->writeFile(refused, "x"), EngineError) << refused;
    }
    // Renamed away and replaced by a link, the held folder still gets the file.
    fs::rename(root / "out", root / "moved");
    fs::create_directory_symlink(root / "elsewhere", root / "out");
    folder->writeFile("late.csv", "late");
    EXPECT_EQ(files.ReadAll(path("moved/late.csv")), "late");
#endif
}

} // namespace
