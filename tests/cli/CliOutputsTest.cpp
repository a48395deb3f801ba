#include "CliApplication.h"
#include "HtaccessRules.h"
#include "NativeFileSystem.h"
#include "PageReport.h"
#include "SharedState.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

TEST(HtaccessRules, PatternsMatchTheDecodedPathExactly)
{
    EXPECT_EQ(HtaccessRules::pattern("index.htm"), "^index\\.htm$");
    EXPECT_EQ(HtaccessRules::pattern("x/y/b page.html"), "^x/y/b page\\.html$");
    EXPECT_EQ(HtaccessRules::pattern("a+b (1)[2]{3}^$|?*.htm"),
              "^a\\+b \\(1\\)\\[2\\]\\{3\\}\\^\\$\\|\\?\\*\\.htm$");
    EXPECT_EQ(HtaccessRules::pattern("q\"uote\\.htm"), "^q\\x22uote\\\\\\.htm$")
        << "Apache takes no \\\" inside a quoted argument";
    EXPECT_EQ(HtaccessRules::pattern("new\nline.htm"), "^new\\x0Aline\\.htm$")
        << "a name must not break the line";
}

TEST(HtaccessRules, TargetsAreEncodedOnceAndNotExpandedByModRewrite)
{
    EXPECT_EQ(HtaccessRules::target("http://n.example/a/b page.htm"),
              "http://n.example/a/b\\%20page.htm");
    EXPECT_EQ(HtaccessRules::target("http://n/\xC3\x9C"), "http://n/\\%C3\\%9C");
    EXPECT_EQ(HtaccessRules::target("http://n/50%.htm"), "http://n/50\\%25.htm");
    EXPECT_EQ(HtaccessRules::target("http://n/a%22b$1"), "http://n/a\\%22b\\$1");
    EXPECT_EQ(HtaccessRules::target("http://n/?q=1&r=(2)"), "http://n/?q=1&r=(2)");
}

TEST(HtaccessRules, RulesLieInsideTheModuleGuard)
{
    HtaccessRules rules;
    rules.add("a.htm", "http://n/a.htm");
    const std::string text = rules.text();
    EXPECT_NE(text.find("<IfModule mod_rewrite.c>\nRewriteEngine On\n"
                        "RewriteRule \"^a\\.htm$\" \"http://n/a.htm\" [R=301,L,NE]\n</IfModule>\n"),
              std::string::npos);
}

TEST(PageReport, QuotesFieldsThatNeedIt)
{
    PageReport report;
    report.add("/a/x.htm", "/a_Moved/x.htm", "http://n/x.htm");
    report.add("/a/b,\"c\".htm", "/a_Moved/b,\"c\".htm", "http://n/b,%22c%22.htm");
    EXPECT_EQ(report.text(), "\xEF\xBB\xBF"
                             "Alte Datei,Ersatzseite,URL\r\n"
                             "/a/x.htm,/a_Moved/x.htm,http://n/x.htm\r\n"
                             "\"/a/b,\"\"c\"\".htm\",\"/a_Moved/b,\"\"c\"\".htm\","
                             "\"http://n/b,%22c%22.htm\"\r\n");
}

class CliOutputs : public testing::Test
{
protected:
    CliOutputs()
    {
        root = fs::temp_directory_path() /
               ("kelvane-out-" + std::to_string(::getpid()) + "-" +
                testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(root);
        fs::create_directories(root / "prog");
        fs::create_directories(root / "site" / "x");
        std::ofstream(root / "prog" / "default.htm") << "%URL%</body>";
        std::ofstream(root / "site" / "a.htm") << "old";
        std::ofstream(root / "site" / "x" / "b c.htm") << "old";
    }
    ~CliOutputs() override { fs::remove_all(root); }

    int run(const std::vector<std::string>& arguments)
    {
        CliApplication application(
            fileSystem, SharedState::forProgramFolder((root / "prog").string()), {in, out, err});
        return application.run(arguments);
    }

    fs::path root;
    NativeFileSystem fileSystem;
    std::istringstream in;
    std::ostringstream out;
    std::ostringstream err;
};

TEST_F(CliOutputs, DryRunListsPagesAndUrlsButWritesNothing)
{
    EXPECT_EQ(run({"--dry-run", "--url", "http://u.example", (root / "site").string()}),
              CliApplication::Done);
    const std::string moved = (root / "site_Moved").string() + PathSeparator;
    EXPECT_EQ(out.str(), moved + "a.htm\thttp://u.example/a.htm\n" + moved + "x" + PathSeparator +
                             "b c.htm\thttp://u.example/x/b c.htm\n");
    EXPECT_FALSE(fs::exists(root / "site_Moved"));
}

TEST_F(CliOutputs, ReportAndHtaccessAreWrittenAfterTheRun)
{
    const fs::path report = root / "bericht.csv";
    EXPECT_EQ(run({"--htaccess", "--report", report.string(), "--url", "http://u.example",
                   (root / "site").string()}),
              CliApplication::Done);
    std::ifstream csv(report, std::ios::binary);
    const std::string csvText{std::istreambuf_iterator<char>(csv), {}};
    EXPECT_NE(csvText.find((root / "site_Moved" / "x" / "b c.htm").string() +
                           ",http://u.example/x/b c.htm\r\n"),
              std::string::npos);
    std::ifstream htaccess(root / "site_Moved" / ".htaccess", std::ios::binary);
    const std::string rules{std::istreambuf_iterator<char>(htaccess), {}};
    EXPECT_NE(rules.find("\\.htm)$\" \"http://u.example/$1\" [R=301,L]"), std::string::npos)
        << "one pattern covers both pages, the space included\n"
        << rules;
}

TEST_F(CliOutputs, OptionsThatCannotGoTogetherAreWrongUsage)
{
    const std::string site = (root / "site").string();
    EXPECT_EQ(run({"--server", "apache,bogus", "--url", "http://u.example", site}),
              CliApplication::WrongUsage);
    EXPECT_NE(err.str().find("\"bogus\""), std::string::npos);
    EXPECT_EQ(run({"--server", "report", "--url", "http://u.example", site}),
              CliApplication::WrongUsage);
    EXPECT_EQ(run({"--htaccess=1", "--url", "http://u.example", site}), CliApplication::WrongUsage);
    EXPECT_EQ(run({"--dry-run", "--server", "nginx", "--url", "http://u.example", site}),
              CliApplication::WrongUsage);
    EXPECT_EQ(run({"--dry-run", "--htaccess", "--url", "http://u.example", site}),
              CliApplication::WrongUsage);
    EXPECT_EQ(run({"--dry-run", "--report", "r.csv", "--url", "http://u.example", site}),
              CliApplication::WrongUsage);
    EXPECT_EQ(run({"--report", "", "--url", "http://u.example", site}), CliApplication::WrongUsage);
    EXPECT_EQ(run({"--map", "", "--url", "http://u.example", site}), CliApplication::WrongUsage);
    EXPECT_EQ(run({"--check", "http://alt", "--dry-run", "--url", "http://u.example", site}),
              CliApplication::WrongUsage);
    EXPECT_EQ(run({"--check", "http://alt", "--htaccess", "--url", "http://u.example", site}),
              CliApplication::WrongUsage);
    EXPECT_EQ(run({"--check", "alt.example", "--url", "http://u.example", site}),
              CliApplication::WrongUsage);
    EXPECT_NE(err.str().find("--check erwartet die alte Adresse"), std::string::npos);
    EXPECT_EQ(run({"--sitemaps", "alt.example", "--url", "U", site}), CliApplication::WrongUsage);
    EXPECT_NE(err.str().find("--sitemaps: Die alte Adresse muss mit http://"), std::string::npos);
    EXPECT_EQ(run({"--check", "http://alt", "--sitemaps", "http://alt", "--url", "U", site}),
              CliApplication::WrongUsage);
    EXPECT_EQ(run({"--dry-run", "--sitemaps", "http://alt", "--url", "U", site}),
              CliApplication::WrongUsage);
    EXPECT_EQ(run({"--server", "sitemap-alt", "--url", "U", site}), CliApplication::WrongUsage);
    EXPECT_EQ(run({"--all-files=1", "--url", "U", site}), CliApplication::WrongUsage);
    EXPECT_FALSE(fs::exists(root / "site_Moved"));
}

TEST_F(CliOutputs, MappedUrlReachesDryRunPageReportAndHtaccess)
{
    const fs::path map = root / "map.csv";
    std::ofstream(map, std::ios::binary)
        << "alte Datei,neue URL\r\n\"x/b c.htm\",\"https://anders.example/b,c\"\r\n"
           "weg.htm,https://anders.example/weg\r\n"
           "\xFC"
           "ber.htm,https://anders.example/\xFC"
           "ber\r\n";
    const std::string site = (root / "site").string();
    const std::string warning =
        "Warnung: Die Zuordnungsdatei nennt \"weg.htm\", doch diese Seite gibt es nicht.\n"
        "Warnung: Die Zuordnungsdatei nennt \"\\xFCber.htm\", doch diese Seite gibt es nicht. "
        "Die Zuordnungsdatei ist wohl nicht als UTF-8 gespeichert.\n";

    EXPECT_EQ(run({"--dry-run", "--map", map.string(), "--url", "http://u.example", site}),
              CliApplication::Done);
    EXPECT_NE(out.str().find("b c.htm\thttps://anders.example/b,c\n"), std::string::npos);
    EXPECT_NE(out.str().find("a.htm\thttp://u.example/a.htm\n"), std::string::npos);
    EXPECT_EQ(err.str().rfind(warning, 0), 0u) << err.str();

    const fs::path report = root / "bericht.csv";
    EXPECT_EQ(run({"--htaccess", "--report", report.string(), "--map", map.string(), "--url",
                   "http://u.example", site}),
              CliApplication::Done);
    std::ifstream csv(report, std::ios::binary);
    EXPECT_NE(std::string(std::istreambuf_iterator<char>(csv), {})
                  .find(",\"https://anders.example/b,c\"\r\n"),
              std::string::npos);
    std::ifstream htaccess(root / "site_Moved" / ".htaccess", std::ios::binary);
    EXPECT_NE(std::string(std::istreambuf_iterator<char>(htaccess), {})
                  .find("RewriteRule \"^x/b c\\.htm$\" \"https://anders.example/b,c\""),
              std::string::npos);
    std::ifstream page(root / "site_Moved" / "x" / "b c.htm", std::ios::binary);
    EXPECT_EQ(
        std::string(std::istreambuf_iterator<char>(page), {}).find("https://anders.example/b,c"),
        0u);
}

TEST_F(CliOutputs, MalformedOrMissingMappingIsWrongUsageAndWritesNothing)
{
    const fs::path map = root / "map.csv";
    const std::string site = (root / "site").string();
    std::ofstream(map) << "a.htm,https://n.example/a\r\n\"x/b c.htm,https://n.example/b\r\n";
    EXPECT_EQ(run({"--htaccess", "--map", map.string(), "--url", "http://u.example", site}),
              CliApplication::WrongUsage);
    EXPECT_EQ(err.str(), "Zuordnungsdatei, Zeile 2: Anführungszeichen nicht geschlossen\n");
    EXPECT_EQ(run({"--map", (root / "fehlt.csv").string(), "--url", "http://u.example", site}),
              CliApplication::WrongUsage);
    EXPECT_FALSE(fs::exists(root / "site_Moved"));
}

TEST_F(CliOutputs, NoHtaccessAfterARefusedRun)
{
    EXPECT_EQ(run({"--htaccess", "--types", "gif", "--url", "http://u.example",
                   (root / "site").string()}),
              CliApplication::Refused);
    EXPECT_FALSE(fs::exists(root / "site_Moved"));
}

} // namespace

namespace {

TEST_F(CliOutputs, ServerListWritesEachFormatAtItsPlace)
{
    EXPECT_EQ(run({"--server", "nginx,caddy,iis,netlify", "--htaccess", "--no-subpath", "--url",
                   "http://u.example", (root / "site").string()}),
              CliApplication::Done);
    for (const fs::path& file :
         {root / "site_Moved.nginx.conf", root / "site_Moved.Caddyfile",
          root / "site_Moved" / "web.config", root / "site_Moved" / "_redirects",
          root / "site_Moved" / ".htaccess"})
        EXPECT_TRUE(fs::exists(file)) << file;
    std::ifstream htaccess(root / "site_Moved" / ".htaccess");
    const std::string rules{std::istreambuf_iterator<char>(htaccess), {}};
    EXPECT_NE(rules.find("RewriteRule \"\\.htm$\" \"http://u.example\" [R=301,L,NE]"),
              std::string::npos)
        << "all pages to one URL: one rule per type\n"
        << rules;
    EXPECT_NE(err.str().find("Geschrieben: site_Moved.Caddyfile"), std::string::npos);
}

// A report or rule place that exists as anything but a regular file, or that
// is another output of the run, is refused before the first page; nothing
// there changes.
TEST_F(CliOutputs, ReportPlacesThatAreNoRegularFileOrAnotherOutputAreRefused)
{
    const std::string site = (root / "site").string();
    const fs::path nginx = root / "site_Moved.nginx.conf";
    std::ofstream(nginx) << "rules";
    fs::create_directories(root / "folder.csv");
    std::vector<std::string> refused = {nginx.string(), (root / "site_Moved.Caddyfile").string(),
                                        (root / "folder.csv").string(),
                                        (root / "fehlt" / "r.csv").string()};
#ifndef _WIN32 // no FIFOs, devices or links there
    ASSERT_EQ(::mkfifo((root / "fifo.csv").c_str(), 0600), 0);
    fs::create_symlink(root / "site" / "a.htm", root / "link.csv");
    refused.insert(refused.end(), {(root / "fifo.csv").string(), (root / "link.csv").string()});
    if (::geteuid() == 0) // only root could replace the machine's null device
        refused.push_back("/dev/null");
#endif
    for (const std::string& report : refused) {
        err.str("");
        EXPECT_EQ(run({"--report", report, "--url", "U", site}), CliApplication::WrongUsage)
            << report;
        EXPECT_FALSE(err.str().empty());
        EXPECT_FALSE(fs::exists(root / "site_Moved")) << report;
    }
    EXPECT_EQ(run({"--check", "http://127.0.0.1:9", "--report", (root / "site" / "a.htm").string(),
                   "--url", "U", site}),
              CliApplication::WrongUsage)
        << "the check's list keeps to the same places";
    std::ifstream old(root / "site" / "a.htm");
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(old), {}), "old");
#ifndef _WIN32
    EXPECT_TRUE(fs::is_character_file("/dev/null"));
    EXPECT_TRUE(fs::is_fifo(root / "fifo.csv"));
    EXPECT_TRUE(fs::is_symlink(root / "link.csv"));
#endif
    std::ifstream rules(nginx);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(rules), {}), "rules");

    fs::create_directories(root / "site_Moved" / ".htaccess");
    EXPECT_EQ(run({"--yes", "--htaccess", "--url", "http://neu.example", site}),
              CliApplication::WrongUsage);
    EXPECT_NE(err.str().find("keine gewöhnliche Datei"), std::string::npos) << err.str();
    EXPECT_FALSE(fs::exists(root / "site_Moved" / "a.htm"));
}

// What a run killed while writing its extra files left is removed by the next
// one: beside the output root only what is named after one of its outputs.
TEST_F(CliOutputs, TemporaryFilesOfAKilledRunAreRemovedBesideAndInTheRoot)
{
    fs::create_directories(root / "site_Moved");
    for (const fs::path& leftover :
         {root / ".site_Moved.nginx.conf.kvtmp-0a1b2c3d", root / ".site_Moved.csv.kvtmp-zz9yx8w7",
          root / "site_Moved" / "..htaccess.kvtmp-0a1b2c3d", root / ".other.csv.kvtmp-0a1b2c3d",
          root / ".site_Moved.nginx.conf.kvtmp-keepme"})
        std::ofstream(leftover) << "partial";
    EXPECT_EQ(run({"--yes", "--url", "U", (root / "site").string()}), CliApplication::Done);
    std::vector<std::string> left;
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        if (entry.path().filename().string().find(".kvtmp-") != std::string::npos)
            left.push_back(entry.path().filename().string());
    }
    std::sort(left.begin(), left.end());
    EXPECT_EQ(left, (std::vector<std::string>{".other.csv.kvtmp-0a1b2c3d",
                                              ".site_Moved.nginx.conf.kvtmp-keepme"}));
}

// Finding the templates writes nothing, nor does any run: until the editor
// makes the data folder's copy, the shipped user template is the one used.
TEST_F(CliOutputs, OnlyARunThatWritesMakesTheUserTemplate)
{
    std::ofstream(root / "prog" / "benutzer.htm") << "mine %URL%</body>";
    SharedState state = SharedState::forProgramFolder((root / "prog").string());
    state.ShippedUserTemplatePath = state.UserTemplatePath;
    state.UserTemplatePath = (root / "data" / "benutzer.htm").string();
    const std::string site = (root / "site").string();
    const auto runWith = [&](const std::vector<std::string>& arguments) {
        return CliApplication(fileSystem, state, {in, out, err}).run(arguments);
    };
    EXPECT_EQ(runWith({"--help"}), CliApplication::Done);
    EXPECT_EQ(runWith({"--dry-run", "--template", "user", "--url", "U", site}),
              CliApplication::Done);
    runWith({"--check", "http://127.0.0.1:9", "--template", "user", "--url", "U", "--types",
             "keine", site});
    EXPECT_EQ(runWith({"--template", "user", "--url", "U", site}), CliApplication::Done)
        << err.str();
    EXPECT_FALSE(fs::exists(root / "data"));
    std::ifstream page(root / "site_Moved" / "a.htm");
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(page), {}).rfind("mine U/a.htm", 0), 0u);
}

} // namespace

namespace {

TEST_F(CliOutputs, AllFilesAndSitemapsReachSitemapsAndReport)
{
    std::ofstream(root / "site" / "x" / "bild 1.png") << "old";
    const fs::path report = root / "bericht.csv";
    EXPECT_EQ(run({"--all-files", "--sitemaps", "http://alt.example/alt", "--report",
                   report.string(), "--url", "http://neu.example", (root / "site").string()}),
              CliApplication::Done);
    std::ifstream sitemap(root / "site_Moved" / "sitemap-alt.xml"), csv(report);
    EXPECT_NE(std::string(std::istreambuf_iterator<char>(sitemap), {})
                  .find("<loc>http://alt.example/alt/x/bild%201.png</loc>"),
              std::string::npos);
    EXPECT_NE(std::string(std::istreambuf_iterator<char>(csv), {})
                  .find(",,http://neu.example/x/bild 1.png"),
              std::string::npos)
        << "listed without a replacement page";
    EXPECT_NE(err.str().find("Geschrieben: sitemap-alt.xml\nGeschrieben: sitemap-neu.xml\n"),
              std::string::npos);
}

} // namespace
