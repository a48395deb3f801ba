#ifdef _WIN32

#include "EngineError.h"
#include "NativeFileSystem.h"
#include "NativePath.h"
#include "OpenFolder.h"
#include "OutputTree.h"
#include "SharedState.h"
#include "TextCodec.h"
#include "TreePlacement.h"
#include "UnixCommand.h"
#include "WindowsFiles.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <windows.h>

namespace fs = std::filesystem;

namespace {

class WindowsNativeFiles : public testing::Test
{
protected:
    WindowsNativeFiles() { fs::create_directories(root); }
    ~WindowsNativeFiles() override { removeTree(root); }

    std::string path(const std::string& name) const { return fromNativePath(root) + "\\" + name; }

    const fs::path root =
        fs::temp_directory_path() / ("kelvane-win-" + std::to_string(GetCurrentProcessId()) + "-" +
                                     testing::UnitTest::GetInstance()->current_test_info()->name());
    NativeFileSystem files;
};

TEST_F(WindowsNativeFiles, ExclusiveCreationLeavesATakenNameAlone)
{
    std::ofstream(root / "taken.tmp", std::ios::binary) << "someone else's";
    errno = 0;
    std::FILE* taken = WindowsFiles::createNew(path("taken.tmp"));
    EXPECT_EQ(taken, nullptr);
    EXPECT_EQ(errno, EEXIST);
    if (taken)
        std::fclose(taken);
    EXPECT_EQ(files.ReadAll(path("taken.tmp")), "someone else's");

    std::FILE* fresh = WindowsFiles::createNew(path("fresh.tmp"));
    ASSERT_NE(fresh, nullptr);
    std::fclose(fresh);
    EXPECT_TRUE(files.FileExists(path("fresh.tmp")));
}

// "\xE4" is "ä" in the ANSI code page, as a narrow main or getenv handed it on.
// Letter case, the device form and "." or ".." spell one folder many ways;
// its volume serial number and file index stay the same.
TEST_F(WindowsNativeFiles, EverySpellingOfAFolderIsThatFolder)
{
    fs::create_directories(root / "site" / "sub");
    fs::create_directories(root / "other");
    const std::string site = path("site");
    std::string upper = site;
    std::transform(upper.begin(), upper.end(), upper.begin(),
                   [](char c) { return c >= 'a' && c <= 'z' ? char(c - 'a' + 'A') : c; });
    const FileIdentity identity = files.openFolder(site)->identity();
    for (const std::string& spelling :
         {upper, "\\\\?\\" + site, "\\\\?\\" + upper, site + "\\sub\\..", site + "/."})
        EXPECT_EQ(files.openFolder(spelling)->identity(), identity) << spelling;
    EXPECT_FALSE(files.openFolder(path("other"))->identity() == identity);

    for (const std::string& inside : {upper + "\\SUB", "\\\\?\\" + upper + "\\sub", upper})
        EXPECT_TRUE(TreePlacement::liesInTrees(files, *files.openFolder(inside), site)) << inside;
    EXPECT_FALSE(TreePlacement::liesInTrees(files, *files.openFolder(path("other")), site));
    fs::create_directories(root / "site_Moved");
    EXPECT_TRUE(TreePlacement::liesInTrees(files, *files.openFolder(upper + "_MOVED"), site));
}

TEST_F(WindowsNativeFiles, TextThatIsNoPathFailsAsAnEngineError)
{
    const std::string bad = path("Bericht-\xE4.csv");
    const std::vector<std::function<void()>> operations = {
        [&] { files.WriteFile(bad, "x"); }, [&] { files.ReadAll(bad); },
        [&] { files.CreateFolder(bad); }, [&] { files.ListFolder(bad); }};
    for (const auto& operation : operations)
        EXPECT_THROW(operation(), EngineError);
    EXPECT_FALSE(files.FolderExists(bad) || files.FileExists(bad));

    const SharedState state = SharedState::forInstallation(path("fehlt"), bad, files);
    EXPECT_EQ(state.UserTemplatePath, bad + "\\benutzer.htm");
}

// Names Windows lists but cannot open by their plain path, made through
// extended-length paths as a share or a Unix folder would hold them.
void putRaw(const std::string& path)
{
    const HANDLE file = CreateFileW(toWin32Path(path).c_str(), GENERIC_WRITE, 0, nullptr,
                                    CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE) << path;
    CloseHandle(file);
}

// A Unix link shows under Wine as a reparse point, the same as a symbolic
// link or junction on Windows: the walk sets both apart, whether it leads
// back up (a loop) or out of the site.
TEST_F(WindowsNativeFiles, ListsEveryNameAndSetsLinkedFoldersApart)
{
    const std::string site = path("site");
    fs::create_directories(root / "site" / "sub");
    fs::create_directories(root / "other");
    for (const char* name : {"a.htm", "con.htm", "aux.html", "x.", "t "})
        putRaw(site + "\\" + name);
    ASSERT_TRUE(makeFolderLink(site, ".", "loop"));
    ASSERT_TRUE(makeFolderLink(site, "../other", "out"));

    const FolderContents contents = files.ListFolder(site);
    const std::string base = site + "\\";
    EXPECT_EQ(contents.Files,
              (std::vector<std::string>{base + "a.htm", base + "aux.html", base + "con.htm",
                                        base + "t ", base + "x."}));
    EXPECT_EQ(contents.SubFolders, std::vector<std::string>{base + "sub"});
    EXPECT_EQ(contents.SkippedLinks, (std::vector<std::string>{base + "loop", base + "out"}));
    EXPECT_TRUE(files.IsLink(base + "loop"));
    EXPECT_FALSE(files.IsLink(base + "sub") || files.IsLink(base + "a.htm"));
}

// Through an extended-length path "x." would become a file Explorer cannot
// remove; through a plain one, silently "x". Either way the page is refused
// alone, with the reason, and the folder's other pages are written.
TEST_F(WindowsNativeFiles, OutputTreeRefusesNamesWindowsCannotHoldOneAtATime)
{
    const auto tree = files.openOutputTree(path("site_Moved"));
    tree->enterFolder("");
    for (const char* name : {"aux.html", "CON.htm", "x.", "t ", "x?y.htm", "a\x01.htm"}) {
        try {
            tree->writePage(name, "page");
            ADD_FAILURE() << name << " written";
        } catch (const EngineError& error) {
            EXPECT_NE(std::string(error.what()).find("unter Windows"), std::string::npos)
                << error.what();
            EXPECT_FALSE(error.meansNoWriteCanSucceed());
        }
    }
    tree->writePage("a.htm", "page");
    EXPECT_THROW(tree->enterFolder("\\con"), EngineError);
    EXPECT_THROW(tree->enterFolder("\\sub."), EngineError);
    tree->enterFolder("\\sub");
    tree->writePage("b.htm", "page");

    EXPECT_EQ(files.ListFolder(path("site_Moved")).Files,
              std::vector<std::string>{path("site_Moved\\a.htm")});
    EXPECT_EQ(files.ListFolder(path("site_Moved")).SubFolders,
              std::vector<std::string>{path("site_Moved\\sub")});
}

// Every operation of a run, on folders far beyond 260 characters, also when
// the path comes in the extended-length form already.
TEST_F(WindowsNativeFiles, PathsOfMoreThan260CharactersWorkEverywhere)
{
    std::string deep = path("");
    deep.pop_back();
    for (int level = 0; level < 6; ++level) {
        deep += "\\" + std::string(50, static_cast<char>('a' + level));
        files.CreateFolder(deep);
    }
    ASSERT_GT(deep.size(), 300u);
    files.WriteFile(deep + "\\page.htm", "old");
    EXPECT_EQ(files.ReadAll("\\\\?\\" + deep + "\\page.htm"), "old");
    EXPECT_TRUE(files.FolderExists(deep) && files.FileExists(deep + "\\page.htm"));
    EXPECT_TRUE(files.FolderWritable(deep));
    EXPECT_EQ(files.ListFolder(deep).Files, std::vector<std::string>{deep + "\\page.htm"});

    const auto tree = files.openOutputTree(deep + "_Moved");
    ASSERT_TRUE(tree->lock());
    tree->enterFolder("\\" + std::string(100, 'x'));
    tree->writePage("page.htm", "new");
    tree->flush();
    EXPECT_EQ(files.ReadAll(deep + "_Moved\\" + std::string(100, 'x') + "\\page.htm"), "new");
}

// A shell whose current folder is the output root holds it open, as
// Explorer showing it does; only another run may keep a run out, and the
// lock leaves nothing in the tree.
TEST_F(WindowsNativeFiles, OnlyAnotherRunKeepsARunOutOfTheOutputTree)
{
    fs::create_directories(root / "site_Moved");
    wchar_t previous[MAX_PATH];
    GetCurrentDirectoryW(MAX_PATH, previous);
    ASSERT_TRUE(SetCurrentDirectoryW(toWin32Path(path("site_Moved")).c_str()));
    {
        const auto first = files.openOutputTree(path("site_Moved"));
        EXPECT_TRUE(first->lock());
        EXPECT_FALSE(files.openOutputTree(path("site_Moved"))->lock());
    }
    EXPECT_TRUE(files.openOutputTree(path("site_Moved"))->lock());
    SetCurrentDirectoryW(previous);
    EXPECT_TRUE(fs::is_empty(root / "site_Moved"));
}

// The system's texts as UTF-8 inside German messages; the common ones in
// German, whatever the system's language.
TEST_F(WindowsNativeFiles, SystemErrorTextsAreGermanOrUtf8)
{
    const auto text = [](DWORD code) {
        return std::string(EngineError::fileSystem("Datei konnte nicht geschrieben werden", "p",
                                                   {static_cast<int>(code), std::system_category()})
                               .what());
    };
    EXPECT_EQ(text(ERROR_DISK_FULL), "Datei konnte nicht geschrieben werden: p (Datenträger voll)");
    EXPECT_NE(text(ERROR_ACCESS_DENIED).find("(Zugriff verweigert)"), std::string::npos);
    EXPECT_NE(text(ERROR_SHARING_VIOLATION).find("anderen Programm"), std::string::npos);
    for (const DWORD other :
         std::initializer_list<DWORD>{ERROR_INVALID_FUNCTION, ERROR_BAD_FORMAT, 99999})
        EXPECT_TRUE(TextCodec::isValidUtf8(text(other))) << other;
    EXPECT_TRUE(EngineError::fileSystem("x", "p", {ERROR_DISK_FULL, std::system_category()})
                    .meansNoWriteCanSucceed());
}

} // namespace

#endif
