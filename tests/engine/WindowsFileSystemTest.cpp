#ifdef _WIN32

#include "EngineError.h"
#include "NativeFileSystem.h"
#include "NativePath.h"
#include "SharedState.h"
#include "WindowsFiles.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <windows.h>

namespace fs = std::filesystem;

namespace {

// A drive letter that names no drive on this machine.
std::string missingDrive()
{
    const DWORD drives = GetLogicalDrives();
    for (char letter = 'Z'; letter > 'A'; --letter) {
        if (!(drives & (1u << (letter - 'A'))))
            return std::string(1, letter) + ":";
    }
    return "A:";
}

class WindowsNativeFiles : public testing::Test
{
protected:
    WindowsNativeFiles()
        : root(fs::temp_directory_path() /
               ("kelvane-win-" + std::to_string(GetCurrentProcessId()) + "-" +
                testing::UnitTest::GetInstance()->current_test_info()->name()))
    {
        fs::create_directories(root);
    }
    ~WindowsNativeFiles() override
    {
        std::error_code ignored;
        fs::remove_all(root, ignored);
    }

    std::string path(const std::string& name) const { return fromNativePath(root) + "\\" + name; }

    fs::path root;
    NativeFileSystem files;
};

TEST_F(WindowsNativeFiles, DriveRootsAreFoldersInEverySpelling)
{
    const std::string drive = fromNativePath(root.root_name());
    const std::string none = missingDrive();
    const std::pair<std::string, bool> cases[] = {
        {drive, true},
        {drive + "\\", true},
        {drive + "/", true},
        {none, false},
        {none + "\\", false},
        {"\\\\?\\" + fromNativePath(root), true},
        {"\\\\?\\" + drive, true},
    };
    for (const auto& [text, folder] : cases)
        EXPECT_EQ(files.FolderExists(text), folder) << text;
}

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

TEST_F(WindowsNativeFiles, WritesWhereverTheSlashesPoint)
{
    std::string slashed = path("bericht.csv");
    std::replace(slashed.begin(), slashed.end(), '\\', '/');
    files.WriteFile(slashed, "a,b\r\n");
    EXPECT_EQ(files.ReadAll(path("bericht.csv")), "a,b\r\n");
}

// The bytes of "ä" in the ANSI code page: what a narrow main handed on.
TEST_F(WindowsNativeFiles, TextThatIsNoPathFailsAsAnEngineError)
{
    const std::string bad = path("Bericht-\xE4.csv");
    const std::vector<std::function<void()>> operations = {
        [&] { files.WriteFile(bad, "x"); }, [&] { files.ReadAll(bad); },
        [&] { files.CreateFolder(bad); }, [&] { files.ListFolder(bad); }};
    for (const auto& operation : operations)
        EXPECT_THROW(operation(), EngineError);
    EXPECT_FALSE(files.FolderExists(bad));
    EXPECT_FALSE(files.FileExists(bad));

    const SharedState state =
        SharedState::forInstallation(path("fehlt"), path("Daten-\xE4"), files);
    EXPECT_EQ(state.UserTemplatePath, path("Daten-\xE4") + "\\benutzer.htm");
}

} // namespace

#endif
