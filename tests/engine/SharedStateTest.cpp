#include "SharedState.h"

#include "MemoryFileSystem.h"

#include <gtest/gtest.h>

namespace {

const std::string S(1, PathSeparator);
const std::string Program = S + "opt" + S + "kelvane";
const std::string Data = S + "home" + S + "anna" + S + ".local" + S + "share" + S + "Kelvane";

TEST(SharedState, StartsWithTheStandardTemplateAndBothFilesBesideTheProgram)
{
    const SharedState state = SharedState::forProgramFolder(Program);
    EXPECT_TRUE(state.UseStandardTemplate);
    EXPECT_EQ(state.StandardTemplatePath, Program + S + "default.htm");
    EXPECT_EQ(state.UserTemplatePath, Program + S + "benutzer.htm");
}

class Installation : public testing::Test
{
protected:
    Installation()
    {
        fileSystem.addFile(Program + S + "default.htm", "standard");
        fileSystem.addFile(Program + S + "benutzer.htm", "shipped");
        fileSystem.addFolder(S + "home" + S + "anna");
    }

    MemoryFileSystem fileSystem;
};

TEST_F(Installation, WritableProgramFolderKeepsTheUserTemplateBesideTheProgram)
{
    const SharedState state = SharedState::forInstallation(Program, Data, fileSystem);
    EXPECT_EQ(state.UserTemplatePath, Program + S + "benutzer.htm");
    EXPECT_TRUE(fileSystem.CreatedFolders.empty());
}

TEST_F(Installation, ReadOnlyProgramFolderSeedsTheUserTemplateInTheDataFolderOnce)
{
    fileSystem.ReadOnlyFolders.insert(Program);
    const std::string userTemplate = Data + S + "benutzer.htm";

    SharedState state = SharedState::forInstallation(Program, Data, fileSystem);
    EXPECT_EQ(state.UserTemplatePath, userTemplate);
    EXPECT_EQ(state.StandardTemplatePath, Program + S + "default.htm");
    EXPECT_TRUE(fileSystem.WrittenFiles.empty() && fileSystem.CreatedFolders.empty())
        << "finding the templates writes nothing";
    state.seedUserTemplate(fileSystem);
    EXPECT_EQ(fileSystem.Files.at(userTemplate), "shipped");

    fileSystem.Files[userTemplate] = "edited by the user";
    state = SharedState::forInstallation(Program, Data, fileSystem);
    state.seedUserTemplate(fileSystem);
    EXPECT_EQ(fileSystem.Files.at(userTemplate), "edited by the user");
}

TEST_F(Installation, SeedingThatFailsStillPointsAtTheDataFolder)
{
    fileSystem.ReadOnlyFolders.insert(Program);
    fileSystem.Files.erase(Program + S + "benutzer.htm");
    const SharedState state = SharedState::forInstallation(Program, Data, fileSystem);
    state.seedUserTemplate(fileSystem);
    EXPECT_EQ(state.UserTemplatePath, Data + S + "benutzer.htm");
    EXPECT_FALSE(fileSystem.FileExists(state.UserTemplatePath));
}

} // namespace
