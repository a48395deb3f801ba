#include "Relocation.h"

#include "CaseCollisions.h"
#include "FakeWindow.h"
#include "MemoryFileSystem.h"
#include "OutputFiles.h"
#include "PageTemplate.h"
#include "SharedState.h"

#include <functional>
#include <gtest/gtest.h>

namespace {

using Calls = std::vector<std::string>;
using Outcome = Relocation::Outcome;

const std::string S(1, PathSeparator);
const std::string Site = S + "www" + S + "site";
const std::string Moved = Site + "_Moved";
const std::string StandardTemplate = "<html><body>%URL%</body></html>";

class RelocationRun : public testing::Test
{
protected:
    RelocationRun()
    {
        state = SharedState::forProgramFolder(S + "prog");
        fileSystem.addFile(state.StandardTemplatePath, StandardTemplate);
        inputs.Verzeichnis = Site;
        inputs.Dateitypen = "htm;html";
        inputs.URLneu = "http://new.example";
    }

    Outcome run(bool dryRun = false, OutputFiles* extraFiles = nullptr)
    {
        Relocation relocation(window, fileSystem, state, inputs);
        relocation.setDryRun(dryRun);
        relocation.setExtraFiles(extraFiles);
        const Outcome outcome = relocation.run();
        extraFilesWritten = relocation.extraFilesWritten();
        return outcome;
    }

    std::string page(const std::string& url) const
    {
        return PageTemplate(PageTemplate::insertCredit(StandardTemplate)).render(url) + "\r\n";
    }

    bool wroteAnything() const
    {
        return !fileSystem.WrittenFiles.empty() || !fileSystem.CreatedFolders.empty();
    }

    MemoryFileSystem fileSystem;
    SharedState state;
    FakeWindow window;
    RelocationInputs inputs;
    OutputFiles::Result extraFilesWritten;
};

TEST_F(RelocationRun, MissingDirectoryIsReportedWithTheTextAsEntered)
{
    inputs.Verzeichnis = S + "x";
    EXPECT_EQ(run(), Outcome::Refused);
    EXPECT_EQ(window.Calls, (Calls{"enable:0", "message:1:Verzeichnis nicht gefunden\r\n" + S + "x",
                                   "enable:1", "focus"}));
    window.Calls.clear();
    inputs.Verzeichnis = "";
    run();
    EXPECT_EQ(window.Calls.at(1), "message:1:Verzeichnis nicht gefunden\r\n");
}

TEST_F(RelocationRun, DirectoryOfThreeCharactersOrFewerIsRefused)
{
    for (const std::string& directory : {S + "ab", S + "\xC3\xA4"
                                                       "b"}) {
        fileSystem.addFile(directory + S + "a.htm");
        inputs.Verzeichnis = directory;
        window.Calls.clear();
        EXPECT_EQ(run(), Outcome::Refused);
        EXPECT_EQ(window.Calls, (Calls{"enable:0", "message:3:Bitte Unterverzeichnis auswählen",
                                       "enable:1", "focus"}));
    }
    EXPECT_FALSE(wroteAnything());
}

TEST_F(RelocationRun, NoToTheOutputRootQuestionEndsWithoutFocusOrWriting)
{
    fileSystem.addFile(Site + S + "a.htm");
    fileSystem.addFolder(Moved);
    inputs.Verzeichnis = Site + S;
    window.AnswerYes = false;

    EXPECT_EQ(run(), Outcome::Refused);
    EXPECT_EQ(window.Calls,
              (Calls{"enable:0", "ask:Ordner " + Moved + " bereits vorhanden, Dateien ersetzen?",
                     "enable:1"}));
    EXPECT_FALSE(wroteAnything());
}

TEST_F(RelocationRun, YesReusesTheOutputRootAndKeepsItsOtherContent)
{
    fileSystem.addFile(Site + S + "a.htm");
    fileSystem.addFile(Moved + S + "keep.txt", "mine");
    fileSystem.addFile(Moved + S + "a.htm", "old page");

    EXPECT_EQ(run(), Outcome::Done);
    EXPECT_EQ(fileSystem.Files.at(Moved + S + "keep.txt"), "mine");
    EXPECT_EQ(fileSystem.Files.at(Moved + S + "a.htm"), page("http://new.example/a.htm"));
}

TEST_F(RelocationRun, NoMatchingFilesKeepsTheSearchStatus)
{
    fileSystem.addFile(Site + S + "a.png");
    EXPECT_EQ(run(), Outcome::Refused);
    EXPECT_EQ(window.Calls, (Calls{"enable:0", "status:Suchen der Dateien...",
                                   "message:3:Keine Dateien gefunden", "enable:1"}));
    EXPECT_FALSE(wroteAnything());
}

TEST_F(RelocationRun, TemplateWithoutClosingBodyTagIsRefusedBeforeAnyFolderIsMade)
{
    fileSystem.addFile(Site + S + "x" + S + "a.htm");
    fileSystem.Files[state.StandardTemplatePath] = "";
    EXPECT_EQ(run(), Outcome::Refused);
    EXPECT_EQ(
        window.Calls,
        (Calls{"enable:0", "message:0:HTML-Code fehlerhaft:\r\n</Body> Element nicht gefunden",
               "status:Durchführung abgebrochen.", "enable:1"}));
    EXPECT_FALSE(wroteAnything());
}

TEST_F(RelocationRun, WritesEveryPageIntoTheMirroredTree)
{
    fileSystem.addFile(Site + S + "a.htm", "old a");
    fileSystem.addFile(Site + S + "x" + S + "y" + S + "b page.html", "old b");
    fileSystem.addFile(Site + S + "z" + S + "c.png");

    EXPECT_EQ(run(), Outcome::Done);
    EXPECT_EQ(fileSystem.Files.at(Moved + S + "a.htm"), page("http://new.example/a.htm"));
    EXPECT_EQ(fileSystem.Files.at(Moved + S + "x" + S + "y" + S + "b page.html"),
              page("http://new.example/x/y/b page.html"));
    EXPECT_EQ(fileSystem.CreatedFolders,
              (Calls{Moved, Moved + S + "x", Moved + S + "x" + S + "y"}));
    EXPECT_EQ(fileSystem.Files.at(Site + S + "a.htm"), "old a");
    EXPECT_EQ(window.Calls.at(2), "status:Schreibe a.htm in " + Moved);
    EXPECT_EQ(window.Calls.at(3), "status:Schreibe b page.html in " + Moved + S + "x" + S + "y");
    EXPECT_EQ(window.callsWithoutProgress(),
              (Calls{"enable:0", "status:Suchen der Dateien...",
                     "status:Fertig, 2 Dateien verarbeitet", "enable:1"}));
}

TEST_F(RelocationRun, UncheckedOrGreyedBoxGivesEveryPageTheUrlAlone)
{
    fileSystem.addFile(Site + S + "x" + S + "b.htm");
    for (const int box : {0, 2}) {
        inputs.Unterverzeichnis = box;
        run();
        EXPECT_EQ(fileSystem.Files.at(Moved + S + "x" + S + "b.htm"), page("http://new.example"));
    }
}

TEST_F(RelocationRun, UsesTheUserTemplateWhenChosen)
{
    fileSystem.addFile(Site + S + "a.htm");
    fileSystem.addFile(state.UserTemplatePath, "mine %url%</BODY>\r\n");
    inputs.UseStandardTemplate = false;
    inputs.Unterverzeichnis = 0;

    EXPECT_EQ(run(), Outcome::Done);
    EXPECT_EQ(fileSystem.Files.at(Moved + S + "a.htm"),
              "mine http://new.example" + PageTemplate::creditInsert() + "\r\n\r\n");
    EXPECT_EQ(window.Calls.at(window.Calls.size() - 2), "status:Fertig, 1 Dateien verarbeitet");
}

TEST_F(RelocationRun, MissingUserTemplateStopsWithAMessageNamingIt)
{
    fileSystem.addFile(Site + S + "a.htm");
    inputs.UseStandardTemplate = false;

    EXPECT_EQ(run(), Outcome::Refused);
    const std::string message = window.Calls.at(1);
    EXPECT_EQ(message.rfind("message:1:", 0), 0u);
    EXPECT_NE(message.find(state.UserTemplatePath), std::string::npos);
    EXPECT_EQ(window.Calls.at(2), "status:Durchführung abgebrochen.");
    EXPECT_EQ(window.Calls.back(), "enable:1");
    EXPECT_FALSE(wroteAnything());
}

// A list the parser rejects, or one that names no type a file can have.
TEST_F(RelocationRun, TypeListThatSelectsNothingIsRefusedBeforeTheSearch)
{
    fileSystem.addFile(Site + S + "a.htm");
    for (const char* types : {"1-40000", ";", "5-3", "tar.gz;x/y"}) {
        window.Calls.clear();
        inputs.Dateitypen = types;
        EXPECT_EQ(run(), Outcome::Refused) << types;
        EXPECT_EQ(window.Calls.size(), 4u) << types;
        EXPECT_EQ(window.Calls.at(1).rfind("message:1:Dateitypen fehlerhaft", 0), 0u) << types;
        EXPECT_EQ(window.Calls.at(2), "status:Durchführung abgebrochen.");
    }
    EXPECT_FALSE(wroteAnything());
}

TEST_F(RelocationRun, FailedPagesAndFoldersAreListedAndTheRestIsWritten)
{
    for (const std::string& name : Calls{"a.htm", "b.htm", "c.htm", "sub" + S + "d.htm",
                                         "gone" + S + "e.htm", "link" + S + "f.htm"})
        fileSystem.addFile(Site + S + name);
    fileSystem.UnwritableFiles.insert(Moved + S + "b.htm");
    fileSystem.UnlistableFolders.insert(Site + S + "gone");
    fileSystem.addFolder(Moved);
    fileSystem.Links.insert(Moved + S + "link");

    Relocation relocation(window, fileSystem, state, inputs);
    EXPECT_EQ(relocation.run(), Outcome::Incomplete);
    EXPECT_EQ(relocation.pagesWritten(), 3u);
    EXPECT_EQ(window.Pages.size(), 3u) << "only pages actually written are reported";
    for (const std::string& name : Calls{"a.htm", "c.htm", "sub" + S + "d.htm"})
        EXPECT_EQ(fileSystem.Files.count(Moved + S + name), 1u) << name;

    const Calls calls = window.callsWithoutProgress();
    ASSERT_EQ(calls.size(), 6u);
    EXPECT_EQ(calls.at(1), "ask:Ordner " + Moved + " bereits vorhanden, Dateien ersetzen?");
    EXPECT_EQ(calls.at(3).rfind("message:1:2 Seiten konnten nicht geschrieben werden, 1 Ordner "
                                "konnte nicht gelesen werden:\r\n",
                                0),
              0u)
        << calls.at(3);
    for (const std::string& named : {Moved + S + "b.htm", Site + S + "gone", Moved + S + "link"})
        EXPECT_NE(calls.at(3).find(named), std::string::npos) << named;
    EXPECT_EQ(calls.at(4), "status:Fertig, 3 Dateien verarbeitet");
    EXPECT_EQ(calls.at(5), "enable:1");
}

TEST_F(RelocationRun, FailureMessageNamesTheFirstTen)
{
    for (int i = 10; i < 22; ++i) {
        fileSystem.addFile(Site + S + std::to_string(i) + ".htm");
        fileSystem.UnwritableFiles.insert(Moved + S + std::to_string(i) + ".htm");
    }
    EXPECT_EQ(run(), Outcome::Incomplete);
    const std::string message = window.callsWithoutProgress().at(2);
    EXPECT_NE(message.find("19.htm"), std::string::npos) << "the list is in walk order";
    EXPECT_EQ(message.find("20.htm"), std::string::npos);
    EXPECT_EQ(message.substr(message.size() - 19), "\r\n… und 2 weitere");
    EXPECT_EQ(window.Calls.at(window.Calls.size() - 2), "status:Fertig, 0 Dateien verarbeitet");
}

TEST_F(RelocationRun, FullDiskReadOnlyMediumOrQuotaStopsAtOnce)
{
    for (const char* name : {"a.htm", "b.htm", "c.htm"})
        fileSystem.addFile(Site + S + name);
    std::vector<std::errc> reasons = {std::errc::no_space_on_device,
                                      std::errc::read_only_file_system};
#ifdef EDQUOT // not in mingw's errno.h
    reasons.push_back(static_cast<std::errc>(EDQUOT));
#endif
    for (const std::errc reason : reasons) {
        fileSystem.FailingFiles = {{Moved + S + "b.htm", reason}};
        fileSystem.WrittenFiles.clear();
        fileSystem.Files.erase(Moved + S + "a.htm");
        fileSystem.Folders.erase(Moved);
        window.Calls.clear();
        EXPECT_EQ(run(), Outcome::Failed);
        EXPECT_EQ(fileSystem.WrittenFiles, Calls{Moved + S + "a.htm"});
        const Calls calls = window.callsWithoutProgress();
        EXPECT_NE(calls.at(2).find(Moved + S + "b.htm"), std::string::npos);
        EXPECT_EQ(calls.at(3), "status:Durchführung abgebrochen.");
    }
}

TEST_F(RelocationRun, CountsMoreThanSixteenBitsOfPages)
{
    const std::size_t count = 32'768 + 232;
    fileSystem.addFolder(Site);
    for (std::size_t i = 0; i < count; ++i)
        fileSystem.Files[Site + S + std::to_string(i) + ".htm"] = "";

    EXPECT_EQ(run(), Outcome::Done);
    EXPECT_EQ(fileSystem.WrittenFiles.size(), count);
    EXPECT_EQ(window.Calls.at(window.Calls.size() - 2), "status:Fertig, 33000 Dateien verarbeitet");
}

TEST_F(RelocationRun, StopsAfterThePageWhenTheWindowAsks)
{
    for (const char* name : {"a.htm", "b.htm", "c.htm"})
        fileSystem.addFile(Site + S + name);
    window.StopAfterPages = 2;
    EXPECT_EQ(run(), Outcome::Stopped);
    EXPECT_EQ(fileSystem.WrittenFiles.size(), 2u);
    EXPECT_EQ(window.callsWithoutProgress().back(), "enable:1");
}

TEST_F(RelocationRun, YieldsAfterEveryFileExaminedAndEveryPage)
{
    fileSystem.addFile(Site + S + "a.htm");
    fileSystem.addFile(Site + S + "b.png");
    run();
    EXPECT_EQ(window.EventsProcessed, 3);
}

TEST_F(RelocationRun, WritesTheUrlInTheTemplatesEightBitCodePage)
{
    fileSystem.addFile(Site + S +
                       "\xC3\xBC"
                       "ber.htm");
    fileSystem.Files[state.StandardTemplatePath] = "\xE4 %URL%</body>";
    inputs.URLneu = "http://neu.example/\xE2\x86\x92";

    run();
    const std::string written = fileSystem.Files.at(Moved + S +
                                                    "\xC3\xBC"
                                                    "ber.htm");
    EXPECT_EQ(written.rfind("\xE4 http://neu.example/%E2%86%92/\xFC"
                            "ber.htm",
                            0),
              0u)
        << written;
}

TEST_F(RelocationRun, DryRunPlansEveryPageButWritesNothing)
{
    fileSystem.addFile(Site + S + "x" + S + "a.htm");
    fileSystem.addFolder(Moved);
    window.AnswerYes = false;

    EXPECT_EQ(run(true), Outcome::Done);
    ASSERT_EQ(window.Pages.size(), 1u);
    EXPECT_EQ(window.Pages[0].TargetPath, Moved + S + "x" + S + "a.htm");
    EXPECT_EQ(window.Pages[0].RelativePath, "x/a.htm");
    EXPECT_EQ(window.Pages[0].Url, "http://new.example/x/a.htm");
    EXPECT_FALSE(wroteAnything());
}

// Each is refused before any folder or page is made.
TEST_F(RelocationRun, UnsafeUrlOrOutputRootIsRefusedBeforeAnythingIsWritten)
{
    fileSystem.addFile(Site + S + "a.htm", "old");
    const std::pair<std::function<void()>, std::string> rows[] = {
        {[&] { inputs.URLneu = "http://n/\x01x"; }, "Die neue URL enthält"},
        {[&] { inputs.URLneu = "jav&#97;script:x()"; }, "Die neue URL darf nicht"},
        {[&] { inputs.URLneu = " JavaScript:x()"; }, "Die neue URL darf nicht"},
        {[&] { fileSystem.Links.insert(Moved); }, "Ordner " + Moved + " ist eine Verknüpfung"},
        {[&] { fileSystem.addFolder(Moved), fileSystem.LockedRoots.insert(Moved); },
         "Ordner " + Moved + " wird gerade von einem anderen Lauf beschrieben"},
    };
    for (const auto& [arrange, message] : rows) {
        inputs.URLneu = "http://new.example";
        fileSystem.Links.clear();
        window.Calls.clear();
        arrange();
        EXPECT_EQ(run(), Outcome::Refused);
        EXPECT_TRUE(fileSystem.WrittenFiles.empty()) << message;
        const Calls calls = window.callsWithoutProgress();
        EXPECT_EQ(calls.at(calls.size() - 2).rfind("message:1:" + message, 0), 0u)
            << calls.at(calls.size() - 2);
        EXPECT_EQ(calls.back(), "enable:1");
    }
    EXPECT_EQ(fileSystem.CreatedFolders, Calls{});
}

// The lock keeps a second run out until the last extra file is written, and
// the files go through the held tree; a refused place stops the run before
// its first page.
TEST_F(RelocationRun, ExtraFilesAreWrittenWhileTheRunHoldsTheTree)
{
    fileSystem.addFile(Site + S + "x" + S + "a.htm");
    OutputFiles extras(inputs);
    extras.add(*OutputFormat::find("apache"));
    extras.add(*OutputFormat::find("nginx"));
    extras.add(OutputFormat::report(), S + "lists" + S + "r.csv");
    fileSystem.addFolder(S + "lists");
    EXPECT_EQ(run(false, &extras), Outcome::Done);
    EXPECT_EQ(extraFilesWritten.Written,
              (Calls{".htaccess", "site_Moved.nginx.conf", S + "lists" + S + "r.csv"}));
    EXPECT_EQ(fileSystem.WrittenUnheld, Calls{});
    EXPECT_NE(fileSystem.Files.at(S + "lists" + S + "r.csv").find("x" + S + "a.htm"),
              std::string::npos);

    OutputFiles intoTheSite(inputs);
    intoTheSite.add(OutputFormat::report(), Site + S + "x" + S + "a.htm");
    fileSystem.WrittenFiles.clear();
    EXPECT_EQ(run(false, &intoTheSite), Outcome::Refused);
    EXPECT_EQ(fileSystem.WrittenFiles, Calls{});
}

TEST_F(RelocationRun, RemovesStaleTemporaryFilesAndFlushesOnce)
{
    fileSystem.addFile(Site + S + "x" + S + "a.htm");
    for (const char* name : {".kvtmp-0a1b2c3d", ".kvtmp-zzzzzzzz", ".kvtmp-0A1B2C3D",
                             ".kvtmp-0a1b2c3", "kvtmp-0a1b2c3d"})
        fileSystem.addFile(Moved + S + "x" + S + name);

    EXPECT_EQ(run(), Outcome::Done);
    EXPECT_EQ(
        fileSystem.ListFolder(Moved + S + "x").Files,
        (Calls{Moved + S + "x" + S + ".kvtmp-0A1B2C3D", Moved + S + "x" + S + ".kvtmp-0a1b2c3",
               Moved + S + "x" + S + "a.htm", Moved + S + "x" + S + "kvtmp-0a1b2c3d"}));
    EXPECT_EQ(fileSystem.Flushes, 1);
}

} // namespace

TEST_F(RelocationRun, MappedPagesGetTheirListedUrlAndUnknownPathsAreKept)
{
    fileSystem.addFile(Site + S + "a.htm");
    fileSystem.addFile(Site + S + "x" + S + "b page.htm");
    const std::string mapFile = S + "map.csv";
    fileSystem.addFile(mapFile,
                       "alte Datei,neue URL\r\n\"x/b page.htm\",https://other.example/b\r\n"
                       "gone.htm,https://other.example/g\r\n");
    inputs.Zuordnungsdatei = mapFile;

    for (const bool dryRun : {true, false}) {
        Relocation relocation(window, fileSystem, state, inputs);
        relocation.setDryRun(dryRun);
        window.Pages.clear();
        ASSERT_EQ(relocation.run(), Outcome::Done);
        ASSERT_EQ(window.Pages.size(), 2u);
        EXPECT_EQ(window.Pages[0].Url, "http://new.example/a.htm");
        EXPECT_EQ(window.Pages[1].Url, "https://other.example/b");
        EXPECT_EQ(relocation.unmappedPaths(), (std::vector<std::string>{"gone.htm"}));
    }
    EXPECT_EQ(fileSystem.Files.at(Moved + S + "x" + S + "b page.htm"),
              page("https://other.example/b"));
}

TEST_F(RelocationRun, MappingWithoutAPageOfTheFolderRefusesAndWritesNothing)
{
    fileSystem.addFile(Site + S + "a.htm");
    fileSystem.addFile(S + "other.csv",
                       "index.htm,https://n.example/\r\nx/a.htm,https://n.example/a\r\n");
    inputs.Zuordnungsdatei = S + "other.csv";
    for (const bool dryRun : {true, false}) {
        window.Calls.clear();
        Relocation relocation(window, fileSystem, state, inputs);
        relocation.setDryRun(dryRun);
        EXPECT_EQ(relocation.run(), Outcome::Refused);
        EXPECT_TRUE(relocation.mappingRefused());
        ASSERT_GE(window.Calls.size(), 2u);
        EXPECT_EQ(window.Calls[window.Calls.size() - 2].rfind(
                      "message:1:Die Zuordnungsdatei nennt keine Seite im Verzeichnis", 0),
                  0u)
            << window.Calls[window.Calls.size() - 2];
    }
    EXPECT_FALSE(wroteAnything());
}

// A case-sensitive folder or share holds both; Windows keeps one file for
// both names, and so does a host that ignores case.
TEST_F(RelocationRun, PagesWhosePathsDifferOnlyInCaseAreNamed)
{
    for (const std::string& name : Calls{"Page.htm", "page.htm", "SUB" + S + "a.htm",
                                         "sub" + S + "a.htm", "sub" + S + "b.htm"})
        fileSystem.addFile(Site + S + name);
    Relocation relocation(window, fileSystem, state, inputs);
#ifdef _WIN32
    EXPECT_EQ(relocation.run(), Outcome::Incomplete);
    EXPECT_EQ(relocation.pagesWritten(), 3u);
    EXPECT_EQ(relocation.failures().pages(), 2u);
    EXPECT_NE(relocation.failures().reasons().at(0).find(
                  Moved + S + "page.htm nicht geschrieben: Der Name unterscheidet sich von " +
                  Moved + S + "Page.htm nur in Groß- und Kleinschreibung"),
              std::string::npos)
        << relocation.failures().reasons().at(0);
    EXPECT_TRUE(relocation.caseWarnings().empty());
#else
    // The warning is read on a terminal: a name's escape sequence stays text.
    fileSystem.addFile(Site + S + "Esc\x1B[2J.htm");
    fileSystem.addFile(Site + S + "esc\x1B[2J.htm");
    EXPECT_EQ(relocation.run(), Outcome::Done);
    EXPECT_EQ(relocation.pagesWritten(), 7u);
    EXPECT_EQ(relocation.caseWarnings(),
              (Calls{"Die Seiten Esc\\x1B[2J.htm und esc\\x1B[2J.htm unterscheiden sich nur in "
                     "Groß- und Kleinschreibung: Ein Server, der sie nicht unterscheidet (etwa "
                     "unter Windows), behält nur eine.",
                     "Die Seiten Page.htm und page.htm unterscheiden sich nur in Groß- und "
                     "Kleinschreibung: Ein Server, der sie nicht unterscheidet (etwa unter "
                     "Windows), behält nur eine.",
                     "Die Seiten SUB/a.htm und sub/a.htm unterscheiden sich nur in Groß- und "
                     "Kleinschreibung: Ein Server, der sie nicht unterscheidet (etwa unter "
                     "Windows), behält nur eine."}));
#endif
    EXPECT_EQ(CaseCollisions::folded("Über/ärger.HTM"), CaseCollisions::folded("über/Ärger.htm"));
}

TEST_F(RelocationRun, FaultyMappingRefusesBeforeTheQuestionAndWritesNothing)
{
    fileSystem.addFile(Site + S + "a.htm");
    fileSystem.addFolder(Moved);
    fileSystem.addFile(S + "bad.csv", "a.htm,https://n.example/a\r\na.htm\r\n");
    fileSystem.addFile(S + "semicolon.csv", "a.htm;https://n.example/a\r\n");
    fileSystem.addFile(S + "ansi.csv",
                       "\xE4.htm,https://n.example/a\r\n\xE4.htm,https://n.example/b");
    const std::pair<std::string, std::string> cases[] = {
        {S + "bad.csv", "Zuordnungsdatei, Zeile 2: zwei Felder erwartet"},
        {S + "semicolon.csv", "Zuordnungsdatei, Zeile 1: zwei Felder erwartet (alte Datei,neue "
                              "URL), 1 gefunden; die Felder werden durch ein Komma getrennt"},
        {S + "ansi.csv", "Zuordnungsdatei, Zeile 2: \\xE4.htm steht schon in Zeile 1"},
        {S + "missing.csv", "Die Zuordnungsdatei konnte nicht gelesen werden."},
    };
    for (const auto& [file, message] : cases) {
        inputs.Zuordnungsdatei = file;
        window.Calls.clear();
        Relocation relocation(window, fileSystem, state, inputs);
        EXPECT_EQ(relocation.run(), Outcome::Refused);
        EXPECT_TRUE(relocation.mappingRefused());
        ASSERT_EQ(window.Calls.size(), 3u);
        EXPECT_EQ(window.Calls[1].rfind("message:1:" + message, 0), 0u) << window.Calls[1];
        EXPECT_EQ(window.Calls[2], "enable:1");
    }
    EXPECT_FALSE(wroteAnything());
}

TEST_F(RelocationRun, AllFilesReportsTheOtherFilesAfterThePagesAndWritesNoPageForThem)
{
    for (const std::string& name : std::vector<std::string>{
             "a.htm", "README", "robots.txt", "sitemap-alt-2.xml", "sitemap-alt-x.xml",
             ".hidden" + S + "x.css", "x" + S + ".htaccess", "x" + S + "doc 1.pdf"})
        fileSystem.addFile(Site + S + name);
    fileSystem.addFile(S + "map.csv", "x/doc 1.pdf,https://other.example/doc\r\n");
    inputs.Zuordnungsdatei = S + "map.csv";

    EXPECT_EQ(run(), Outcome::Refused) << "without every file the mapping names nothing here";
    EXPECT_TRUE(window.OtherFiles.empty());
    inputs.AllFiles = true;
    window = FakeWindow();
    Relocation relocation(window, fileSystem, state, inputs);
    EXPECT_EQ(relocation.run(), Outcome::Done);
    EXPECT_EQ(window.Pages.size(), 1u);
    EXPECT_TRUE(relocation.unmappedPaths().empty()) << "the mapping may name other files";
    // robots.txt, the old-site sitemaps and hidden names stay where they are.
    const std::vector<std::pair<std::string, std::string>> expected = {
        {"README", "http://new.example/README"},
        {"sitemap-alt-x.xml", "http://new.example/sitemap-alt-x.xml"},
        {"x/doc 1.pdf", "https://other.example/doc"}};
    ASSERT_EQ(window.OtherFiles.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        const RelocationWindow::Page& file = window.OtherFiles[i];
        EXPECT_EQ(std::make_pair(file.RelativePath, file.Url), expected[i]);
        EXPECT_EQ(file.TargetPath + std::to_string(file.Number) + "/" + std::to_string(file.Total),
                  std::to_string(i + 1) + "/3");
    }
    EXPECT_EQ(fileSystem.Files.count(Moved + S + "README"), 0u);
}

namespace {

// Rules, a check and a mapping send visitors on from another host: only an
// absolute address works there. Pages alone take any text, with a warning.
TEST_F(RelocationRun, UrlThatIsNoAbsoluteAddressIsRefusedForRulesAndWarnedForPages)
{
    fileSystem.addFile(Site + S + "a.htm", "old");
    fileSystem.addFile(Site + S + "map.csv", "a.htm,http://m.example/a\n");
    for (const std::string url : {"", "/", "neu.example/x", "http:///x"}) {
        SCOPED_TRACE(url);
        inputs.URLneu = url;
        for (const bool mapping : {false, true}) {
            inputs.NeedsAbsoluteUrl = !mapping;
            inputs.Zuordnungsdatei = mapping ? Site + S + "map.csv" : "";
            window.Calls.clear();
            EXPECT_EQ(run(true), Outcome::Refused);
            EXPECT_EQ(window.Calls.at(1).rfind("message:1:Die neue URL taugt nicht für "
                                               "Serverregeln",
                                               0),
                      0u)
                << window.Calls.at(1);
        }
        inputs.NeedsAbsoluteUrl = false;
        inputs.Zuordnungsdatei.clear();
        window.Calls.clear();
        EXPECT_EQ(run(true), Outcome::Done);
        EXPECT_EQ(window.Calls.at(1).rfind("message:3:Warnung: Die neue URL ist keine absolute", 0),
                  0u)
            << window.Calls.at(1);
        EXPECT_EQ(window.Calls.at(1).find('\n'), std::string::npos);
    }
}

TEST_F(RelocationRun, TheTemplatesDeclaredCharsetDecidesTheUrlsBytes)
{
    fileSystem.addFile(Site + S +
                       "f\xC3\xBC"
                       "r.htm");
    fileSystem.Files[state.StandardTemplatePath] =
        "<meta charset=\"utf-8\"><!-- \xE4 --><a href=\"%URL%\"></body>";
    run();
    const std::string written = fileSystem.Files.at(Moved + S +
                                                    "f\xC3\xBC"
                                                    "r.htm");
    EXPECT_NE(written.find("href=\"http://new.example/f\xC3\xBC"
                           "r.htm\""),
              std::string::npos)
        << written;
}

TEST_F(RelocationRun, NamesInMessagesShowTheirControlCharacters)
{
    fileSystem.addFile(Site + S + "a\nb\x1B[2J.htm", "old");
    fileSystem.UnwritableFiles.insert(Moved + S + "a\nb\x1B[2J.htm");
    EXPECT_EQ(run(), Outcome::Incomplete);
    const Calls calls = window.callsWithoutProgress();
    const std::string& message = calls.at(calls.size() - 3);
    EXPECT_NE(message.find("a\\nb\\x1B[2J.htm"), std::string::npos) << message;
    EXPECT_EQ(message.find('\x1B'), std::string::npos);
}

} // namespace
