#ifdef _WIN32

#include "EngineError.h"
#include "NativeFileSystem.h"
#include "NativePath.h"
#include "OpenFolder.h"
#include "SharedState.h"
#include "TreePlacement.h"
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
    ~WindowsNativeFiles() override
    {
        std::error_code ignored;
        fs::remove_all(root, ignored);
    }

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

} // namespace

#endif
