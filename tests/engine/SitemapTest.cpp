#include "MemoryFileSystem.h"
#include "OutputFiles.h"
#include "SitemapFile.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

namespace {

const std::string Old = "http://alt.example/a&b";
const std::string New = "http://neu.example/home";

RelocationWindow::Page page(const std::string& relativePath, const std::string& url)
{
    return {"/alt/" + relativePath, "/alt_Moved/" + relativePath, relativePath, url, 1, 1};
}

// The <loc> texts of a document, in order.
std::vector<std::string> locations(const std::string& document)
{
    std::vector<std::string> found;
    for (std::size_t at = document.find("<loc>"); at != std::string::npos;
         at = document.find("<loc>", at + 1)) {
        const std::size_t start = at + 5;
        found.push_back(document.substr(start, document.find("</loc>", start) - start));
    }
    return found;
}

using Side = SitemapFile::Side;

struct ListCase
{
    const char* name;
    Side side;
    RedirectRun run;
    std::vector<std::pair<std::string, std::string>> pages;
    std::vector<std::pair<std::string, std::string>> otherFiles;
    std::vector<std::string> expected;
    bool warns = false;
};

TEST(Sitemap, ListsFoldersThenPagesAndFilesEncodedAndEscaped)
{
    const std::vector<std::pair<std::string, std::string>> pages = {
        {"a.htm", New + "/a.htm"},
        {"\xC3\x9C"
         "ber uns/index.htm",
         New + "/\xC3\x9C"
               "ber uns/index.htm"},
        {"q\"'<>&.htm", "http://anders.example/[x]?a=1&b='2'#y#z"},
    };
    const ListCase cases[] = {
        {"old addresses below the old URL",
         Side::Old,
         {New, true, Old + "/"},
         pages,
         {{"bild 1.png", New + "/bild 1.png"}},
         {Old + "/%C3%9Cber%20uns/", Old + "/a.htm", Old + "/%C3%9Cber%20uns/index.htm",
          Old + "/q%22%27%3C%3E%26.htm", Old + "/bild%201.png"}},
        {"new addresses as the pages have them",
         Side::New,
         {New, true, Old},
         pages,
         {{"bild 1.png", New + "/bild 1.png"}},
         {New + "/%C3%9Cber%20uns/", New + "/a.htm", New + "/%C3%9Cber%20uns/index.htm",
          "http://anders.example/%5Bx%5D?a=1&b='2'#y%23z", New + "/bild%201.png"}},
        {"one new address once",
         Side::New,
         {New, false, Old},
         {{"a.htm", New}, {"b.htm", New}},
         {{"c.pdf", New}},
         {New}},
        {"robots.txt and hidden files are not moved",
         Side::Old,
         {New, true, Old},
         {{"a.htm", New + "/a.htm"}},
         {{"robots.txt", New + "/robots.txt"}, {".well-known/x", New + "/.well-known/x"}},
         {Old + "/a.htm"}},
        {"addresses the schema refuses are left out",
         Side::New,
         {New, true, Old},
         {{"a.htm", New + "/a.htm"}, {"b.htm", New + "/" + std::string(2100, 'b')}},
         {},
         {New + "/a.htm"},
         true},
    };
    for (const ListCase& c : cases) {
        SCOPED_TRACE(c.name);
        SitemapFile sitemap(c.run, c.side);
        for (const auto& [path, url] : c.pages)
            sitemap.addPage(page(path, url));
        for (const auto& [path, url] : c.otherFiles)
            sitemap.addOtherFile(page(path, url));
        std::vector<std::string> expected;
        for (const std::string& url : c.expected)
            expected.push_back(SitemapFile::escaped(url));
        EXPECT_EQ(locations(sitemap.text()), expected);
        EXPECT_TRUE(sitemap.parts().empty());
        EXPECT_EQ(sitemap.warnings().size(), c.warns ? 1u : 0u);
    }
    EXPECT_EQ(SitemapFile::escaped("a&b<c>d\"e'f"), "a&amp;b&lt;c&gt;d&quot;e&apos;f");
}

struct SplitCase
{
    const char* name;
    SitemapFile::Limits limits;
    std::size_t parts;
};

TEST(Sitemap, SplitsAtTheLimitsIntoPartsNamedByTheIndex)
{
    const SplitCase cases[] = {
        {"by count", {2, 52428800}, 3},
        // Head and end take 110 bytes, each entry 58: three fit in 300.
        {"by size", {50000, 300}, 2},
        {"within both", {5, 52428800}, 0},
    };
    for (const SplitCase& c : cases) {
        SCOPED_TRACE(c.name);
        SitemapFile sitemap({New, true, Old}, Side::Old, c.limits);
        for (int i = 0; i < 5; ++i)
            sitemap.addPage(page("p" + std::to_string(i) + ".htm", ""));
        const std::vector<RedirectOutput::Part> parts = sitemap.parts();
        ASSERT_EQ(parts.size(), c.parts);
        if (parts.empty())
            continue;
        std::vector<std::string> named, listed;
        for (std::size_t i = 0; i < parts.size(); ++i) {
            EXPECT_EQ(parts[i].FileName, "sitemap-alt-" + std::to_string(i + 1) + ".xml");
            EXPECT_LE(parts[i].Text.size(), c.limits.Bytes);
            named.push_back(SitemapFile::escaped(Old + "/" + parts[i].FileName));
            for (const std::string& url : locations(parts[i].Text))
                listed.push_back(url);
        }
        EXPECT_NE(sitemap.text().find("<sitemapindex"), std::string::npos);
        EXPECT_EQ(locations(sitemap.text()), named);
        EXPECT_EQ(listed.size(), 5u) << "every address in exactly one part";
    }
}

TEST(Sitemap, TheOldAddressMustBeAnAbsoluteWebAddress)
{
    const std::pair<const char*, bool> cases[] = {
        {"http://alt.example", true},
        {"https://alt.example/a/", true},
        {"ftp://alt.example", false},
        {"alt.example", false},
        {"http://", false},
        {"http:///pfad", false},
        {"http://alt example", false},
        {"http://alt.example/\"", false},
    };
    for (const auto& [url, accepted] : cases)
        EXPECT_EQ(SitemapFile::refusalForOldUrl(url).empty(), accepted) << url;
}

TEST(Sitemap, OutputFilesWriteThePartsBeforeTheIndexThatNamesThem)
{
    const std::string S(1, PathSeparator), Moved = S + "site_Moved";
    static constexpr auto makeSmall =
        [](const RedirectRun& run) -> std::unique_ptr<RedirectOutput> {
        return std::make_unique<SitemapFile>(run, Side::New, SitemapFile::Limits{1, 52428800});
    };
    const OutputFormat small{
        "sitemap-neu", "sitemap-neu.xml", OutputFormat::Place::InsideOutputRoot, "", "",
        false,         +makeSmall,        OutputFormat::Choice::Sitemaps};
    MemoryFileSystem fileSystem;
    fileSystem.addFolder(Moved);
    OutputFiles files({S + "site", "htm", New, 1, true, ""}, Old);
    files.add(small);
    files.add(*OutputFormat::find("sitemap-alt"));
    files.addPage(page("a.htm", New + "/a.htm"));
    files.addOtherFile(page("b.png", New + "/b.png"));

    const OutputFiles::Result result = files.write(fileSystem, Moved, true);
    EXPECT_EQ(result.Written, (std::vector<std::string>{"sitemap-neu-1.xml", "sitemap-neu-2.xml",
                                                        "sitemap-neu.xml", "sitemap-alt.xml"}));
    EXPECT_EQ(fileSystem.WrittenFiles.back(), Moved + S + "sitemap-alt.xml");
    EXPECT_EQ(locations(fileSystem.Files.at(Moved + S + "sitemap-neu-2.xml")),
              std::vector<std::string>{New + "/b.png"});
    EXPECT_EQ(locations(fileSystem.Files.at(Moved + S + "sitemap-alt.xml")),
              (std::vector<std::string>{SitemapFile::escaped(Old + "/a.htm"),
                                        SitemapFile::escaped(Old + "/b.png")}));
}

#ifndef _WIN32
namespace fs = std::filesystem;

// Writes the file and its parts to a folder of their own and has xmllint
// check each against the published schema of its root element.
void expectValid(const SitemapFile& sitemap, const std::string& name)
{
    const fs::path folder = fs::temp_directory_path() / ("kelvane-sitemap-" + name);
    fs::remove_all(folder);
    fs::create_directories(folder);
    std::vector<std::pair<std::string, std::string>> files = {{"sitemap.xml", sitemap.text()}};
    for (const RedirectOutput::Part& part : sitemap.parts())
        files.emplace_back(part.FileName, part.Text);
    for (const auto& [file, text] : files) {
        std::ofstream(folder / file, std::ios::binary) << text;
        const std::string schema =
            text.find("<sitemapindex") != std::string::npos ? "siteindex.xsd" : "sitemap.xsd";
        const std::string command = "xmllint --noout --schema '" KELVANE_SITEMAP_SCHEMAS "/" +
                                    schema + "' '" + (folder / file).string() + "' 2>&1";
        EXPECT_EQ(std::system(command.c_str()), 0) << name << ": " << file << " (" << schema << ")";
    }
    fs::remove_all(folder);
}

TEST(Sitemap, ValidAgainstTheSchemaWholeAndSplit)
{
    for (const Side side : {Side::Old, Side::New}) {
        const std::string sideName = side == Side::Old ? "alt" : "neu";
        SitemapFile whole({New, true, Old}, side);
        SitemapFile split({New, true, Old}, side, {2, 52428800});
        for (const auto& [path, url] : std::vector<std::pair<std::string, std::string>>{
                 {"index.htm", New + "/index.htm"},
                 {"\xC3\x9C"
                  "ber uns/a b.htm",
                  New + "/\xC3\x9C"
                        "ber uns/a b.htm"},
                 {"q\"'<>&#%.htm", "http://anders.example/?a=1&b='2'#x"}}) {
            whole.addPage(page(path, url));
            split.addPage(page(path, url));
        }
        whole.addOtherFile(page("bild [1].png", New + "/bild [1].png"));
        expectValid(whole, sideName + "-whole");
        ASSERT_FALSE(split.parts().empty());
        expectValid(split, sideName + "-split");
    }
}

TEST(Sitemap, FiftyThousandAndOneAddressesNeedTwoParts)
{
    SitemapFile sitemap({New, true, Old}, Side::Old);
    for (int i = 0; i <= 50000; ++i)
        sitemap.addPage(
            page("f" + std::to_string(i % 100) + "/p" + std::to_string(i) + ".htm", ""));
    const std::vector<RedirectOutput::Part> parts = sitemap.parts();
    ASSERT_EQ(parts.size(), 2u);
    EXPECT_EQ(locations(parts[0].Text).size(), 50000u);
    EXPECT_EQ(locations(parts[1].Text).size(), 1u);
    expectValid(sitemap, "50001");
}
#endif

} // namespace
