#ifdef _WIN32

#include "EngineError.h"
#include "NativeFileSystem.h"
#include "NativePath.h"
#include "SharedState.h"
#include "WindowsFiles.h"

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
