#include "CliApplication.h"
#include "HtaccessRules.h"
#include "NativeFileSystem.h"
#include "PageReport.h"
#include "SharedState.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
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
    EXPECT_EQ(report.text(), "Alte Datei,Ersatzseite,URL\r\n"
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
    EXPECT_EQ(run({"--dry-run", "--url", "U", (root / "site").string()}), CliApplication::Done);
    const std::string moved = (root / "site_Moved").string() + PathSeparator;
    EXPECT_EQ(out.str(),
              moved + "a.htm\tU/a.htm\n" + moved + "x" + PathSeparator + "b c.htm\tU/x/b c.htm\n");
    EXPECT_FALSE(fs::exists(root / "site_Moved"));
}

TEST_F(CliOutputs, ReportAndHtaccessAreWrittenAfterTheRun)
{
    const fs::path report = root / "bericht.csv";
    EXPECT_EQ(
        run({"--htaccess", "--report", report.string(), "--url", "U", (root / "site").string()}),
        CliApplication::Done);
    std::ifstream csv(report, std::ios::binary);
    const std::string csvText{std::istreambuf_iterator<char>(csv), {}};
    EXPECT_NE(csvText.find((root / "site_Moved" / "x" / "b c.htm").string() + ",U/x/b c.htm\r\n"),
              std::string::npos);
    std::ifstream htaccess(root / "site_Moved" / ".htaccess", std::ios::binary);
    const std::string rules{std::istreambuf_iterator<char>(htaccess), {}};
    EXPECT_NE(rules.find("\\.htm)$\" \"U/$1\" [R=301,L]"), std::string::npos)
        << "one pattern covers both pages, the space included\n"
        << rules;
}

TEST_F(CliOutputs, OptionsThatCannotGoTogetherAreWrongUsage)
{
    const std::string site = (root / "site").string();
    EXPECT_EQ(run({"--server", "apache,bogus", "--url", "U", site}), CliApplication::WrongUsage);
    EXPECT_NE(err.str().find("\"bogus\""), std::string::npos);
    EXPECT_EQ(run({"--server", "report", "--url", "U", site}), CliApplication::WrongUsage);
    EXPECT_EQ(run({"--htaccess=1", "--url", "U", site}), CliApplication::WrongUsage);
    EXPECT_EQ(run({"--dry-run", "--server", "nginx", "--url", "U", site}),
              CliApplication::WrongUsage);
    EXPECT_EQ(run({"--dry-run", "--htaccess", "--url", "U", site}), CliApplication::WrongUsage);
    EXPECT_EQ(run({"--dry-run", "--report", "r.csv", "--url", "U", site}),
              CliApplication::WrongUsage);
    EXPECT_EQ(run({"--report", "", "--url", "U", site}), CliApplication::WrongUsage);
    EXPECT_EQ(run({"--map", "", "--url", "U", site}), CliApplication::WrongUsage);
    EXPECT_EQ(run({"--check", "http://alt", "--dry-run", "--url", "U", site}),
              CliApplication::WrongUsage);
    EXPECT_EQ(run({"--check", "http://alt", "--htaccess", "--url", "U", site}),
              CliApplication::WrongUsage);
    EXPECT_EQ(run({"--check", "alt.example", "--url", "U", site}), CliApplication::WrongUsage);
    EXPECT_NE(err.str().find("--check erwartet die alte Adresse"), std::string::npos);
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

    EXPECT_EQ(run({"--dry-run", "--map", map.string(), "--url", "U", site}), CliApplication::Done);
    EXPECT_NE(out.str().find("b c.htm\thttps://anders.example/b,c\n"), std::string::npos);
    EXPECT_NE(out.str().find("a.htm\tU/a.htm\n"), std::string::npos);
    EXPECT_EQ(err.str().rfind(warning, 0), 0u) << err.str();

    const fs::path report = root / "bericht.csv";
    EXPECT_EQ(
        run({"--htaccess", "--report", report.string(), "--map", map.string(), "--url", "U", site}),
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
    EXPECT_EQ(run({"--htaccess", "--map", map.string(), "--url", "U", site}),
              CliApplication::WrongUsage);
    EXPECT_EQ(err.str(), "Zuordnungsdatei, Zeile 2: Anführungszeichen nicht geschlossen\n");
    EXPECT_EQ(run({"--map", (root / "fehlt.csv").string(), "--url", "U", site}),
              CliApplication::WrongUsage);
    EXPECT_FALSE(fs::exists(root / "site_Moved"));
}

TEST_F(CliOutputs, NoHtaccessAfterARefusedRun)
{
    EXPECT_EQ(run({"--htaccess", "--types", "gif", "--url", "U", (root / "site").string()}),
              CliApplication::Refused);
    EXPECT_FALSE(fs::exists(root / "site_Moved"));
}

} // namespace

namespace {

TEST_F(CliOutputs, ServerListWritesEachFormatAtItsPlace)
{
    EXPECT_EQ(run({"--server", "nginx,caddy,iis,netlify", "--htaccess", "--no-subpath", "--url",
                   "U", (root / "site").string()}),
              CliApplication::Done);
    for (const fs::path& file :
         {root / "site_Moved.nginx.conf", root / "site_Moved.Caddyfile",
          root / "site_Moved" / "web.config", root / "site_Moved" / "_redirects",
          root / "site_Moved" / ".htaccess"})
        EXPECT_TRUE(fs::exists(file)) << file;
    std::ifstream htaccess(root / "site_Moved" / ".htaccess");
    const std::string rules{std::istreambuf_iterator<char>(htaccess), {}};
    EXPECT_NE(rules.find("RewriteRule \"\\.htm$\" \"U\" [R=301,L,NE]"), std::string::npos)
        << "all pages to one URL: one rule per type\n"
        << rules;
    EXPECT_NE(err.str().find("Geschrieben: site_Moved.Caddyfile"), std::string::npos);
}

} // namespace
