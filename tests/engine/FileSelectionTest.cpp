#include "EngineError.h"
#include "MemoryFileSystem.h"
#include "clsDateiliste.h"

#include <gtest/gtest.h>

namespace {

const std::string S(1, PathSeparator);
const std::string Base = S + "site";

using Paths = std::vector<std::string>;

class FileSelection : public testing::Test
{
protected:
    Paths select(const Paths& types, bool filter = true)
    {
        clsDateiliste list(fileSystem, [this] { ++yields; });
        list.BasisVerzeichnis = Base;
        list.DateitypenFiltern = filter;
        list.Dateitypen(types);
        list.erzeugeDateiliste();
        EXPECT_EQ(list.DateiAnzahl(), list.Dateiliste().size());
        return list.Dateiliste();
    }

    MemoryFileSystem fileSystem;
    int yields = 0;
};

TEST_F(FileSelection, WalksOwnFilesBeforeEachSubtreeInTurn)
{
    fileSystem.addFile(Base + S + "z.htm");
    fileSystem.addFile(Base + S + "a" + S + "a.htm");
    fileSystem.addFile(Base + S + "a" + S + "deep" + S + "d.htm");
    fileSystem.addFile(Base + S + "b" + S + "b.htm");
    fileSystem.addFolder(Base + S + "empty");

    EXPECT_EQ(select({"htm"}),
              (Paths{Base + S + "z.htm", Base + S + "a" + S + "a.htm",
                     Base + S + "a" + S + "deep" + S + "d.htm", Base + S + "b" + S + "b.htm"}));
}

TEST_F(FileSelection, ComparesTypesExactlyAndCaseSensitively)
{
    for (const char* name : {"index.htm", "INDEX.HTM", "index.html", "pack.tar.gz", "README"})
        fileSystem.addFile(Base + S + name);

    EXPECT_EQ(select({"htm"}), Paths{Base + S + "index.htm"});
    EXPECT_EQ(select({"gz", "htm", "htm"}),
              (Paths{Base + S + "index.htm", Base + S + "pack.tar.gz"}));
    EXPECT_EQ(select({" htm"}), Paths{});
}

TEST_F(FileSelection, FindsTheTypeAcrossSeparators)
{
    EXPECT_EQ(clsDateiliste::Dateityp(Base + S + "index.htm"), "htm");
    EXPECT_EQ(clsDateiliste::Dateityp(Base + S + ".htaccess"), "htaccess");
    EXPECT_EQ(clsDateiliste::Dateityp(S + "old.site" + S + "README"), "site" + S + "README");
    EXPECT_EQ(clsDateiliste::Dateityp(Base + S + "README"), "");
}

TEST_F(FileSelection, EmptyEntrySelectsPathsWithoutAnyDot)
{
    fileSystem.addFile(Base + S + "README");
    fileSystem.addFile(Base + S + "index.htm");
    EXPECT_EQ(select({"htm", ""}), (Paths{Base + S + "README", Base + S + "index.htm"}));
}

TEST_F(FileSelection, WithoutFilterSelectsEveryFileAndYieldsAfterEach)
{
    fileSystem.addFile(Base + S + "a.png");
    fileSystem.addFile(Base + S + "sub" + S + "b");
    EXPECT_EQ(select({"htm"}, false).size(), 2u);
    EXPECT_EQ(yields, 2);
}

TEST_F(FileSelection, EmptyTypeListSelectsNothing)
{
    fileSystem.addFile(Base + S + "a.htm");
    EXPECT_TRUE(select({}).empty());
}

TEST_F(FileSelection, SecondWalkAppendsEverythingAgain)
{
    fileSystem.addFile(Base + S + "a.htm");
    clsDateiliste list(fileSystem);
    list.BasisVerzeichnis = Base;
    list.erzeugeDateiliste();
    list.erzeugeDateiliste();
    EXPECT_EQ(list.DateiAnzahl(), 2u);
}

TEST_F(FileSelection, CountsBeyondSixteenBits)
{
    const std::size_t count = 33'000;
    for (std::size_t i = 0; i < count; ++i)
        fileSystem.Files[Base + S + "p" + std::to_string(i) + ".htm"] = "";
    fileSystem.addFolder(Base);
    EXPECT_EQ(select({"htm"}).size(), count);
}

TEST_F(FileSelection, ListingErrorKeepsWhatWasCollectedBefore)
{
    fileSystem.addFile(Base + S + "a.htm");
    fileSystem.addFile(Base + S + "locked" + S + "b.htm");
    fileSystem.UnlistableFolders.insert(Base + S + "locked");

    clsDateiliste list(fileSystem);
    list.BasisVerzeichnis = Base;
    EXPECT_THROW(list.erzeugeDateiliste(), EngineError);
    EXPECT_EQ(list.Dateiliste(), Paths{Base + S + "a.htm"});
}

TEST_F(FileSelection, MissingBaseFolderFailsBeforeCollecting)
{
    clsDateiliste list(fileSystem);
    list.BasisVerzeichnis = Base;
    EXPECT_THROW(list.erzeugeDateiliste(), EngineError);
    EXPECT_EQ(list.DateiAnzahl(), 0u);
}

} // namespace
