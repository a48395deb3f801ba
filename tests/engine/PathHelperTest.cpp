#include "EngineError.h"
#include "MemoryFileSystem.h"
#include "clsDateiString.h"

#include <gtest/gtest.h>

namespace {

const std::string S(1, PathSeparator);

struct SplitCase
{
    std::string path;
    std::string folder;
    std::string name;
};

class PathSplit : public testing::TestWithParam<SplitCase>
{
};

TEST_P(PathSplit, CutsAtTheLastSeparator)
{
    MemoryFileSystem fileSystem;
    clsDateiString paths(fileSystem);
    EXPECT_EQ(paths.GetPfad(GetParam().path), GetParam().folder);
    EXPECT_EQ(paths.GetDatei(GetParam().path), GetParam().name);
}

INSTANTIATE_TEST_SUITE_P(Paths, PathSplit,
                         testing::Values(SplitCase{S + "site" + S + "sub" + S + "index.htm",
                                                   S + "site" + S + "sub", "index.htm"},
                                         SplitCase{S + "index.htm", "", "index.htm"},
                                         SplitCase{S + "site" + S, S + "site", ""},
                                         SplitCase{S + S + "server" + S + "share" + S + "index.htm",
                                                   S + S + "server" + S + "share", "index.htm"},
                                         SplitCase{S + "a.b" + S + "c d.e.htm", S + "a.b",
                                                   "c d.e.htm"}));

TEST(PathHelper, TextWithoutSeparatorIsAnInvalidArgument)
{
    MemoryFileSystem fileSystem;
    clsDateiString paths(fileSystem);
    for (const char* text : {"index.htm", ""}) {
        try {
            paths.GetPfad(text);
            FAIL() << "no error for \"" << text << '"';
        } catch (const EngineError& error) {
            EXPECT_EQ(error.kind(), EngineError::Kind::InvalidArgument);
        }
        EXPECT_THROW(paths.GetDatei(text), EngineError);
    }
}

TEST(PathHelper, CreatesMissingLevelsFromTheTopDown)
{
    MemoryFileSystem fileSystem;
    fileSystem.addFolder(S + "www");
    clsDateiString paths(fileSystem);
    const std::string root = S + "www" + S + "site_Moved";

    paths.CreatePfad(root + S + "a" + S + "b");
    EXPECT_EQ(fileSystem.CreatedFolders,
              (std::vector<std::string>{root, root + S + "a", root + S + "a" + S + "b"}));

    paths.CreatePfad(root + S + "a");
    EXPECT_EQ(fileSystem.CreatedFolders.size(), 3u) << "an existing folder is not created again";
}

TEST(PathHelper, CreatesAFolderRightBelowTheRoot)
{
    MemoryFileSystem fileSystem;
    clsDateiString paths(fileSystem);
    paths.CreatePfad(S + "site_Moved");
    EXPECT_EQ(fileSystem.CreatedFolders, std::vector<std::string>{S + "site_Moved"});
}

TEST(PathHelper, RelativeClimbThatFindsNothingFailsBeforeCreating)
{
    MemoryFileSystem fileSystem;
    clsDateiString paths(fileSystem);
    EXPECT_THROW(paths.CreatePfad("site_Moved" + S + "a"), EngineError);
    EXPECT_TRUE(fileSystem.CreatedFolders.empty());
}

} // namespace
