#include "CaddyRules.h"
#include "HtaccessRules.h"
#include "MemoryFileSystem.h"
#include "NginxRules.h"
#include "OutputFiles.h"
#include "RedirectPlan.h"
#include "RedirectsFileRules.h"
#include "WebConfigRules.h"

#include <gtest/gtest.h>
#include <regex>
#include <set>

namespace {

const std::string U = "http://n.example/neu";

struct PlanCase
{
    const char* name;
    bool appendsSubpath;
    const char* path;
    std::string url;
    bool ownRule;
};

TEST(RedirectPlan, APatternCoversAPageOnlyWhenItComputesThePageUrl)
{
    const PlanCase cases[] = {
        {"mirrored page", true, "x/y/b.html", U + "/x/y/b.html", false},
        {"page mapped elsewhere", true, "x/b.html", "http://other.example/b", true},
        {"name with a space", true, "b c.htm", U + "/b c.htm", true},
        {"umlaut in a folder", true,
         "\xC3\x9C"
         "ber/a.htm",
         U + "/\xC3\x9C"
             "ber/a.htm",
         true},
        {"name without a type", true, "README", U + "/README", true},
        {"all to one URL", false, "b c#1.htm", U, false},
        {"one URL, but mapped", false, "a.htm", U + "/a.htm", true},
    };
    for (const PlanCase& c : cases) {
        SCOPED_TRACE(c.name);
        RedirectPlan plan({U, c.appendsSubpath}, true);
        plan.add(c.path, c.url);
        EXPECT_EQ(plan.pageRules().size(), c.ownRule ? 1u : 0u);
        EXPECT_EQ(plan.patternTypes().size(), c.ownRule ? 0u : 1u);
    }
}

struct OtherFileCase
{
    const char* name;
    bool appendsSubpath;
    bool patternsAllowed;
    const char* path;
    std::string url;
    bool everyFilePattern;
    std::size_t ownRules;
};

TEST(RedirectPlan, OtherFilesNeedOnePatternAndClaimNoFolder)
{
    const OtherFileCase cases[] = {
        {"mirrored image", true, true, "index.png", U + "/index.png", true, 0},
        {"file without a type", true, true, "sub/README", U + "/sub/README", true, 0},
        {"name with a space", true, true, "doc 1.pdf", U + "/doc 1.pdf", false, 1},
        {"file mapped elsewhere", true, true, "a.pdf", "http://other.example/a", false, 1},
        {"all to one URL", false, true, "b c.pdf", U, false, 1},
        {"all to one URL, plain name", false, true, "a.pdf", U, true, 0},
        {"host without patterns", true, false, "a.pdf", U + "/a.pdf", false, 1},
        {"robots.txt stays", true, false, "robots.txt", U + "/robots.txt", false, 0},
    };
    for (const OtherFileCase& c : cases) {
        SCOPED_TRACE(c.name);
        RedirectPlan plan({U, c.appendsSubpath}, c.patternsAllowed);
        plan.addOtherFile(c.path, c.url);
        EXPECT_EQ(plan.coversEveryFile(), c.everyFilePattern);
        EXPECT_EQ(plan.pageRules().size(), c.ownRules);
        EXPECT_TRUE(plan.patternTypes().empty());
        EXPECT_TRUE(plan.folderRules().empty());
    }
}

TEST(RedirectPlan, ThePatternLeavesAloneWhatTheRunLeavesAlone)
{
    const std::pair<const char*, bool> cases[] = {
        {"robots.txt", true},
        {"sub/robots.txt", false},
        {"sitemap-alt.xml", true},
        {"sitemap-alt-12.xml", true},
        {"sitemap-alt-.xml", false},
        {"sitemap-alt-1a.xml", false},
        {"sitemap-neu.xml", false},
        {"x/sitemap-alt.xml", false},
        {".htaccess", true},
        {"a/.well-known/x", true},
        {"a.b/c", false},
        {"robots.txt.bak", false},
    };
    // The servers' expressions are Perl-like; ECMAScript reads the lookahead
    // the same way.
    const std::regex pattern("^(?!" + std::string(RedirectPlan::LeftAlonePattern) + ")");
    for (const auto& [path, leftAlone] : cases) {
        EXPECT_EQ(RedirectPlan::leftAlone(path), leftAlone) << path;
        EXPECT_EQ(!std::regex_search(path, pattern), leftAlone) << path;
    }
}

TEST(RedirectPlan, RulesGrowWithTypesAndFoldersNotWithPages)
{
    RedirectPlan plan({U, true}, true);
    for (int i = 0; i < 1000; ++i)
        plan.add("f" + std::to_string(i % 10) + "/p" + std::to_string(i) + ".htm",
                 U + "/f" + std::to_string(i % 10) + "/p" + std::to_string(i) + ".htm");
    plan.add("index.php", U + "/index.php");
    EXPECT_TRUE(plan.pageRules().empty());
    EXPECT_EQ(plan.patternTypes(), (std::vector<std::string>{"htm", "php"}));
    ASSERT_EQ(plan.folderRules().size(), 1u);
    EXPECT_EQ(plan.folderRules()[0].Path, "");
    EXPECT_EQ(plan.folderRules()[0].Url, U + "/");
}

TEST(RedirectPlan, EachFolderAnswersForItsStrongestIndexPage)
{
    RedirectPlan plan({U, true}, false);
    plan.add("sub/default.asp", U + "/sub/default.asp");
    plan.add("sub/index.html", U + "/sub/index.html");
    plan.add("sub/INDEX.HTM", "http://mapped.example/start");
    plan.add("sub/x/seite.htm", U + "/sub/x/seite.htm");
    const auto folders = plan.folderRules();
    ASSERT_EQ(folders.size(), 1u);
    EXPECT_EQ(folders[0].Path, "sub/");
    EXPECT_EQ(folders[0].Url, U + "/sub/") << "the first index page of the same rank stays";
    EXPECT_EQ(plan.pageRules().size(), 4u) << "without patterns every page has its own rule";
}

RelocationWindow::Page page(const std::string& relativePath, const std::string& url)
{
    return {"/alt/" + relativePath, "/alt_Moved/" + relativePath, relativePath, url, 1, 1};
}

struct WriterCase
{
    const char* name;
    std::unique_ptr<RedirectOutput> writer;
    std::vector<std::string> expectedLines;
};

std::string escapedForNginx(const std::string& text)
{
    std::string escaped;
    for (const char c : text)
        escaped += c == '\\' ? std::string("\\\\") : std::string(1, c);
    return escaped;
}

TEST(RedirectWriters, EachFormatWritesFolderPageTypeAndEveryFileRules)
{
    const std::string Alone = RedirectPlan::LeftAlonePattern;
    const RedirectRun run{U, true};
    std::vector<WriterCase> cases;
    cases.push_back(
        {"apache",
         std::make_unique<HtaccessRules>(run),
         {"RewriteRule \"^$\" \"" + U + "/\" [R=301,L,NE]",
          "RewriteRule \"^q\\x22 \\$\\.htm$\" \"" + U + "/q\\%22\\%20\\$.htm\" [R=301,L,NE]",
          "RewriteCond %{REQUEST_FILENAME} -f",
          "RewriteRule \"^([A-Za-z0-9._~/!()+,;=:@ \\x80-\\xFF-]*\\.htm)$\" \"" + U +
              "/$1\" [R=301,L]",
          "RewriteRule \"^(?!" + Alone +
              ")([A-Za-z0-9._~/!()+,;=:@ \\x80-\\xFF-]*[A-Za-z0-9._~!()+,;=:@ \\x80-\\xFF-])$\" "
              "\"" +
              U + "/$1\" [R=301,L]",
          "RewriteRule \"^img/b\\x22\\.png$\" \"" + U + "/img/b\\%22.png\" [R=301,L,NE]"}});
    cases.push_back(
        {"nginx",
         std::make_unique<NginxRules>(run),
         {"location = \"/\" { return 301 \"" + U + "/$is_args$args\"; }",
          "location = \"/q\\\" $.htm\" { return 301 \"" + U + "/q%22%20%24.htm$is_args$args\"; }",
          "location ~ \"^/(?<kelvane>[A-Za-z0-9._~/!()+,;=:@-]*\\\\x2Ehtm)$\" { if (-f "
          "$request_filename) { return 301 \"" +
              U + "/$kelvane$is_args$args\"; } }",
          "location ~ \"^/(?!" + escapedForNginx(Alone) +
              ")(?<kelvane>[A-Za-z0-9._~/!()+,;=:@-]*[A-Za-z0-9._~!()+,;=:@-])$\" { if "
              "(-f $request_filename) { return 301 \"" +
              U + "/$kelvane$is_args$args\"; } }"}});
    cases.push_back({"caddy",
                     std::make_unique<CaddyRules>(run),
                     {"@kelvane_1 path_regexp ^/$", "redir @kelvane_1 \"" + U + "/\" 301",
                      "redir @kelvane_1_q \"" + U + "/?{query}\" 301",
                      "@kelvane_2 path_regexp ^/q\\x22\\x20\\x24\\x2Ehtm$",
                      "\tpath_regexp kelvane_type_1 ^/([A-Za-z0-9._~/!()+,;=:@-]*\\x2Ehtm)$",
                      "redir @kelvane_type_1 \"" + U + "/{re.kelvane_type_1.1}\" 301",
                      "\tpath_regexp kelvane_every_file "
                      "^/([A-Za-z0-9._~/!()+,;=:@-]*[A-Za-z0-9._~!()+,;=:@-])$",
                      "\tnot path_regexp ^/(?:" + Alone + ")",
                      "redir @kelvane_every_file \"" + U + "/{re.kelvane_every_file.1}\" 301"}});
    cases.push_back({"iis",
                     std::make_unique<WebConfigRules>(run),
                     {"          <add key=\"q&quot; $.htm\" value=\"" + U + "/q%22%20$.htm\" />",
                      "          <match url=\"^$\" />",
                      "          <action type=\"Redirect\" url=\"" + U +
                          "/{R:1}\" redirectType=\"Permanent\" appendQueryString=\"true\" />",
                      "          <match url=\"^(?!" + Alone +
                          ")([A-Za-z0-9._~/!()+,;=:@-]*[A-Za-z0-9._~!()+,;=:@-])$\" "
                          "ignoreCase=\"false\" />",
                      "        <rule name=\"Kelvane alle Dateien\" stopProcessing=\"true\">"}});
    cases.push_back({"netlify",
                     std::make_unique<RedirectsFileRules>(run),
                     {"/ " + U + "/ 301!", "/q%22%20%24.htm " + U + "/q%22%20$.htm 301!",
                      "/index.htm " + U + "/index.htm 301!", "/img/a.png " + U + "/img/a.png 301!",
                      "/img/b%22.png " + U + "/img/b%22.png 301!"}});
    for (WriterCase& c : cases) {
        SCOPED_TRACE(c.name);
        c.writer->addPage(page("index.htm", U + "/index.htm"));
        c.writer->addPage(page("q\" $.htm", U + "/q\" $.htm"));
        c.writer->addOtherFile(page("img/a.png", U + "/img/a.png"));
        c.writer->addOtherFile(page("img/b\".png", U + "/img/b%22.png"));
        const std::string text = "\n" + c.writer->text();
        for (const std::string& line : c.expectedLines)
            EXPECT_NE(text.find("\n" + line + "\n"), std::string::npos) << line << "\n" << text;
    }
}

struct LeftOutCase
{
    const char* name;
    std::unique_ptr<RedirectOutput> writer;
    std::string path;
    std::string url;
    std::string absent;     // no rule may name this
    std::string keptByRule; // the line that keeps the patterns off, if any
};

// Such an address gets no rule, the patterns leave it alone and the run
// hears of it; the file stays one its server reads.
TEST(RedirectWriters, AnAddressTheHostCannotCarryGetsNoRuleAndAWarning)
{
    const RedirectRun run{U, true};
    const std::string longUrl = "http://m.example/" + std::string(8100, 'l');
    std::vector<LeftOutCase> cases;
    cases.push_back({"apache, long URL", std::make_unique<HtaccessRules>(run), "long.htm", longUrl,
                     "lll", "RewriteRule \"^long\\.htm$\" \"-\" [L]"});
    cases.push_back({"nginx, long URL", std::make_unique<NginxRules>(run), "long.htm",
                     "http://m.example/" + std::string(4000, 'l'), "lll",
                     "location = \"/long.htm\" { }"});
    cases.push_back({"caddy, not UTF-8", std::make_unique<CaddyRules>(run), "caf\xE9.htm",
                     U + "/caf\xE9.htm", "caf", ""});
    cases.push_back({"iis, not UTF-8", std::make_unique<WebConfigRules>(run), "caf\xE9.htm",
                     U + "/caf\xE9.htm", "caf", ""});
    cases.push_back({"iis, control byte", std::make_unique<WebConfigRules>(run), "a\x01.htm",
                     U + "/a%01.htm", "key=\"a", ""});
    for (LeftOutCase& c : cases) {
        SCOPED_TRACE(c.name);
        c.writer->addPage(page("a.htm", U + "/a.htm"));
        c.writer->addPage(page(c.path, c.url));
        const std::string text = c.writer->text();
        EXPECT_EQ(text.find(c.absent), std::string::npos) << text.substr(0, 2000);
        if (!c.keptByRule.empty()) {
            EXPECT_NE(text.find("\n" + c.keptByRule + "\n"), std::string::npos) << text;
        }
        const auto warnings = c.writer->warnings();
        ASSERT_EQ(warnings.size(), 1u);
        EXPECT_NE(warnings[0].find("1 Seite bekommt keine Regel"), std::string::npos);
        EXPECT_NE(warnings[0].find("/" + c.path.substr(0, 3)), std::string::npos) << warnings[0];
    }
}

// Caddy splits a line at Unicode white space; the regular expression holds
// none, whatever the name.
TEST(RedirectWriters, CaddyMatchersStayOneWord)
{
    const std::pair<std::string, std::string> spaces[] = {
        {"\xC2\xA0", "A0"}, {"\xC2\x85", "85"}, {"\xE2\x80\xA8", "2028"}, {"\xE3\x80\x80", "3000"}};
    for (const auto& [space, code] : spaces)
        EXPECT_EQ(CaddyRules::matcher("a" + space + "b.htm"),
                  "path_regexp ^/a\\x{" + code + "}b\\x2Ehtm$");
}

// Distinct pages must get distinct keys: IIS refuses a map with a key twice.
TEST(RedirectWriters, WebConfigKeysAreDistinct)
{
    WebConfigRules rules({U, true});
    for (const std::string name : {"a\x01.htm", "a\x02.htm", "\xE4.htm", "\xC3\xA4.htm", "a.htm#"})
        rules.addPage(page(name, "http://m.example/" + std::to_string(name.size())));
    const std::string text = rules.text();
    std::set<std::string> keys;
    std::size_t count = 0;
    for (std::size_t at = text.find("key=\""); at != std::string::npos;
         at = text.find("key=\"", at + 1), ++count)
        keys.insert(text.substr(at, text.find('"', at + 5) - at));
    EXPECT_EQ(count, 2u) << text;
    EXPECT_EQ(keys.size(), count);
}

TEST(RedirectWriters, RedirectsFileWarnsBeyondTheHostsLimits)
{
    RedirectsFileRules rules({U, true});
    for (std::size_t i = 0; i < RedirectsFileRules::CloudflareRuleLimit; ++i)
        rules.addPage(
            page("p" + std::to_string(i) + ".htm", U + "/p" + std::to_string(i) + ".htm"));
    EXPECT_TRUE(rules.warnings().empty());
    rules.addPage(page(std::string(1000, 'a') + ".htm", U + "/long.htm"));
    const auto warnings = rules.warnings();
    ASSERT_EQ(warnings.size(), 2u);
    EXPECT_NE(warnings[0].find("2001 Weiterleitungen"), std::string::npos);
    EXPECT_NE(warnings[1].find("1000 Zeichen"), std::string::npos);
}

TEST(OutputFiles, EachFileGoesToItsPlaceAndAFailureSparesTheOthers)
{
    const std::string S(1, PathSeparator), Moved = S + "w" + S + "site_Moved";
    MemoryFileSystem fileSystem;
    fileSystem.addFolder(Moved);
    fileSystem.UnwritableFiles.insert(Moved + ".Caddyfile");
    OutputFiles files({S + "w" + S + "site", "htm", U, 1, true, ""});
    for (const char* name : {"apache", "nginx", "caddy", "iis", "netlify", "report"})
        files.add(*OutputFormat::find(name));
    files.addPage(page("index.htm", U + "/index.htm"));

    fileSystem.addFile(Moved + S + ".web.config.kvtmp-0a1b2c3d", "left by a killed run");
    fileSystem.addFile(Moved + ".nginx.conf.kvtmp-0a1b2c3d", "not ours: no leading dot");
    const auto tree = fileSystem.openOutputTree(Moved);
    OutputFiles::removeStaleTemporaries(*tree, Moved);
    EXPECT_FALSE(fileSystem.FileExists(Moved + S + ".web.config.kvtmp-0a1b2c3d"));
    EXPECT_TRUE(fileSystem.FileExists(Moved + ".nginx.conf.kvtmp-0a1b2c3d"));

    const OutputFiles::Result stopped = files.write(tree.get(), Moved, false);
    EXPECT_EQ(stopped.Written, (std::vector<std::string>{"site_Moved.csv"}))
        << "rules of a run that stopped early would miss pages";

    const OutputFiles::Result result = files.write(tree.get(), Moved, true);
    EXPECT_EQ(result.Written,
              (std::vector<std::string>{".htaccess", "site_Moved.nginx.conf", "web.config",
                                        "_redirects", "site_Moved.csv"}));
    ASSERT_EQ(result.Errors.size(), 1u);
    EXPECT_NE(result.Errors[0].find("site_Moved.Caddyfile"), std::string::npos);
    for (const std::string& path :
         {Moved + S + ".htaccess", Moved + ".nginx.conf", Moved + S + "web.config",
          Moved + S + "_redirects", Moved + ".csv"})
        EXPECT_EQ(fileSystem.Files.count(path), 1u) << path;
}

// Each is refused before the run writes anything: a list that would replace
// an old page or a rule file, or land in the uploaded tree, or replace what
// is no regular file, or cannot be written at all.
TEST(OutputFiles, PlacesThatCannotOrMustNotBeWrittenAreRefused)
{
    const std::string S(1, PathSeparator), W = S + "w", Site = W + S + "site",
                                           Moved = Site + "_Moved";
    MemoryFileSystem fileSystem;
    fileSystem.addFile(Site + S + "index.htm", "old");
    fileSystem.addFolder(Moved + S + "sub");
    fileSystem.addFolder(W + S + "lists" + S + "folder.csv");
    fileSystem.addFolder(W + S + "mounted");
    fileSystem.SameFolders[W + S + "mounted"] = Site;
    fileSystem.ReadOnlyFolders.insert(W + S + "readonly");
    fileSystem.addFolder(W + S + "readonly");
    const std::pair<std::string, std::string> rows[] = {
        {Site + S + "index.htm", "darf weder im Verzeichnis"},
        {Moved + S + "sub" + S + "r.csv", "darf weder im Verzeichnis"},
        {W + S + "mounted" + S + "index.htm", "darf weder im Verzeichnis"},
        {Moved + ".nginx.conf", "zugleich eine andere Ausgabe dieses Laufs"},
        {Moved + ".Caddyfile", "zugleich eine andere Ausgabe dieses Laufs"},
        {W + S + "lists" + S + "folder.csv", "keine gewöhnliche Datei"},
        {W + S + "fehlt" + S + "r.csv", "kann nicht geschrieben werden"},
        {W + S + "readonly" + S + "r.csv", "schreibgeschützt"},
        {W + S + "lists" + S, "Es fehlt der Dateiname"},
        {W + S + "lists" + S + "r.csv", ""},
        {Moved + ".csv", ""},
    };
    for (const auto& [path, refusal] : rows) {
        OutputFiles files({Site, "htm", U, 1, true, ""});
        files.add(OutputFormat::report(), path);
        const std::string text = files.prepare(fileSystem, Site);
        EXPECT_TRUE(refusal.empty() ? text.empty() : text.find(refusal) != std::string::npos)
            << path << ": " << text;
    }
    OutputFiles rules({Site, "htm", U, 1, true, ""});
    rules.add(*OutputFormat::find("apache"));
    fileSystem.addFolder(Moved + S + ".htaccess");
    EXPECT_NE(rules.prepare(fileSystem, Site).find("keine gewöhnliche Datei"), std::string::npos);
    EXPECT_TRUE(fileSystem.WrittenFiles.empty());
}

} // namespace
