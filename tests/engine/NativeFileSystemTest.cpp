#include "NativeFileSystem.h"

#include "EngineError.h"
#include "OutputTree.h"
#include "TreePlacement.h"

#include <algorithm>
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
#ifndef _WIN32 // mingw's standard library makes no links
    fs::create_directory_symlink(root / "site", root / "site" / "loop");
    fs::create_symlink(root / "site" / "a.htm", root / "site" / "link.htm");
    fs::create_symlink(root / "gone", root / "site" / "dangling.htm");
    expectedFiles = {base + "a.htm", base + "b.htm", base + "dangling.htm", base + "link.htm"};
#endif

    const FolderContents contents = files.ListFolder(path("site"));
    EXPECT_EQ(contents.Files, expectedFiles);
    EXPECT_EQ(contents.SubFolders, (std::vector<std::string>{base + "asub", base + "sub"}));
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
    fs::create_directories(root / "plain_Moved");
    fs::create_directory_symlink(root / "site", root / "site_Moved");
    fs::create_directory_symlink(root / "top_Moved" / "site", root / "top");
    fs::create_directory_symlink(root / "site" / "sub", root / "via");
    EXPECT_THROW(files.openOutputTree(path("site_Moved")), EngineError);
    for (const char* refused : {"site", "top"})
        EXPECT_NE(TreePlacement::outputRootRefusal(files, path(refused), refused), "") << refused;
    EXPECT_EQ(TreePlacement::outputRootRefusal(files, path("plain"), "plain"), "");

    for (const char* inside : {"plain/r.csv", "plain_Moved/new/r.csv"})
        EXPECT_TRUE(TreePlacement::liesInTrees(files, path(inside), path("plain"))) << inside;
    EXPECT_TRUE(TreePlacement::liesInTrees(files, path("via/r.csv"), path("site")));
    EXPECT_FALSE(TreePlacement::liesInTrees(files, path("plain_Moved.csv"), path("plain")));
}
#endif

} // namespace
