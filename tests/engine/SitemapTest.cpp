#include "MemoryFileSystem.h"
#include "OutputFiles.h"
#include "SitemapFile.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

namespace {

using Side = SitemapFile::Side;
using Pages = std::vector<std::pair<std::string, std::string>>;
const std::string Old = "http://alt.example/a&b", New = "http://neu.example/home";

RelocationWindow::Page page(const std::string& relativePath, const std::string& url)
{
    return {"/alt/" + relativePath, "/alt_Moved/" + relativePath, relativePath, url, 1, 1};
}

SitemapFile sitemapOf(const Pages& pages, Side side, bool subpath = true,
                      SitemapFile::Limits limits = {})
{
    SitemapFile sitemap({New, subpath, Old + "/"}, side, limits);
    for (const auto& [path, url] : pages)
        sitemap.addPage(page(path, url));
    sitemap.addOtherFile(page("bild 1.png", subpath ? New + "/bild 1.png" : New));
    sitemap.addOtherFile(page("robots.txt", New + "/robots.txt"));
    return sitemap;
}

// The <loc> texts of a document, in order.
std::vector<std::string> locations(const std::string& document)
{
    std::vector<std::string> found;
    for (std::size_t at = document.find("<loc>"); at != std::string::npos;
         at = document.find("<loc>", at + 1))
        found.push_back(document.substr(at + 5, document.find("</loc>", at) - at - 5));
    return found;
}

const Pages SomePages = {{"\xC3\x9C"
                          "ber uns/index.htm",
                          New + "/\xC3\x9C"
                                "ber uns/index.htm"},
                         {"q\"'<>&.htm", "http://anders.example/[x]?a=1&b='2'#y#z"},
                         {"lang.htm", New + "/" + std::string(2100, 'l')}};

TEST(Sitemap, ListsFoldersFirstEncodedAndEscapedAndLeavesOutWhatTheSchemaRefuses)
{
    const std::string U = "/%C3%9Cber%20uns/";
    const std::tuple<Side, bool, std::vector<std::string>> cases[] = {
        {Side::Old,
         true,
         {Old + U, Old + U + "index.htm", Old + "/q%22%27%3C%3E%26.htm", Old + "/lang.htm",
          Old + "/bild%201.png"}},
        {Side::New,
         true,
         {New + U, New + U + "index.htm", "http://anders.example/%5Bx%5D?a=1&b='2'#y%23z",
          New + "/bild%201.png"}},
    };
    for (const auto& [side, subpath, expected] : cases) {
        const SitemapFile sitemap = sitemapOf(SomePages, side, subpath);
        std::vector<std::string> escaped;
        for (const std::string& url : expected)
            escaped.push_back(SitemapFile::escaped(url));
        EXPECT_EQ(locations(sitemap.text()), escaped);
        EXPECT_EQ(sitemap.warnings().size(), side == Side::New ? 1u : 0u) << "2100 characters";
    }
    EXPECT_EQ(locations(sitemapOf({{"a.htm", New}}, Side::New, false).text()),
              std::vector<std::string>{New})
        << "one address once";
    EXPECT_EQ(SitemapFile::escaped("a&b<c>d\"e'f"), "a&amp;b&lt;c&gt;d&quot;e&apos;f");
}

TEST(Sitemap, SplitsAtEitherLimitAndWritesThePartsBeforeTheIndex)
{
    // Head and end take 110 bytes, an entry 58: three fit in 300.
    const std::pair<SitemapFile::Limits, std::size_t> cases[] = {
        {{2, 52428800}, 3}, {{50000, 300}, 2}, {{5, 52428800}, 0}};
    Pages pages;
    for (int i = 0; i < 4; ++i)
        pages.push_back({"p" + std::to_string(i) + ".htm", ""});
    for (const auto& [limits, count] : cases) {
        const SitemapFile sitemap = sitemapOf(pages, Side::Old, true, limits);
        std::vector<std::string> named, listed;
        for (const RedirectOutput::Part& part : sitemap.parts()) {
            EXPECT_LE(part.Text.size(), limits.Bytes);
            named.push_back(SitemapFile::escaped(Old + "/" + part.FileName));
            for (const std::string& url : locations(part.Text))
                listed.push_back(url);
        }
        ASSERT_EQ(named.size(), count);
        EXPECT_EQ(locations(sitemap.text()).size(), count == 0 ? 5u : count);
        if (count > 0) {
            EXPECT_EQ(locations(sitemap.text()), named);
        }
        EXPECT_EQ(listed.size(), count == 0 ? 0u : 5u) << "every address in one part";
    }

    const std::string S(1, PathSeparator);
    static constexpr auto makeSmall =
        [](const RedirectRun& run) -> std::unique_ptr<RedirectOutput> {
        return std::make_unique<SitemapFile>(run, Side::New, SitemapFile::Limits{1, 52428800});
    };
    const OutputFormat small{
        "sitemap-neu", "sitemap-neu.xml", OutputFormat::Place::InsideOutputRoot, "", "",
        false,         +makeSmall};
    MemoryFileSystem fileSystem;
    const std::string root = S + "w" + S + "m";
    fileSystem.addFolder(root);
    OutputFiles files({S + "s", "htm", New, 1, true, ""}, Old);
    files.add(small);
    files.addPage(page("a.htm", New + "/a.htm"));
    files.addOtherFile(page("b.png", New + "/b.png"));
    const auto tree = fileSystem.openOutputTree(root);
    EXPECT_EQ(
        files.write(tree.get(), root, true).Written,
        (std::vector<std::string>{"sitemap-neu-1.xml", "sitemap-neu-2.xml", "sitemap-neu.xml"}));
    EXPECT_EQ(fileSystem.WrittenFiles.back(), root + S + "sitemap-neu.xml");
}

#ifndef _WIN32
// Writes the file and its parts to a folder and has xmllint check each
// against the published schema of its root element.
void expectValid(const SitemapFile& sitemap, const std::string& name)
{
    namespace fs = std::filesystem;
    const fs::path folder = fs::temp_directory_path() / ("kelvane-sitemap-" + name);
    fs::create_directories(folder);
    std::vector<RedirectOutput::Part> files = sitemap.parts();
    files.push_back({"sitemap.xml", sitemap.text()});
    for (const auto& [file, text] : files) {
        std::ofstream(folder / file, std::ios::binary) << text;
        const char* schema =
            text.find("<sitemapindex") != std::string::npos ? "siteindex.xsd" : "sitemap.xsd";
        const std::string command = std::string("xmllint --noout --schema '") +
                                    KELVANE_SITEMAP_SCHEMAS + "/" + schema + "' '" +
                                    (folder / file).string() + "'";
        EXPECT_EQ(std::system(command.c_str()), 0) << name << ": " << file;
    }
    fs::remove_all(folder);
}

TEST(Sitemap, ValidAgainstThePublishedSchemaWholeSplitAndBeyondFiftyThousand)
{
    for (const Side side : {Side::Old, Side::New}) {
        const std::string name = side == Side::Old ? "alt" : "neu";
        expectValid(sitemapOf(SomePages, side), name);
        expectValid(sitemapOf(SomePages, side, true, {2, 52428800}), name + "-split");
    }
    Pages pages;
    for (int i = 0; i < 50000; ++i)
        pages.push_back({"f" + std::to_string(i % 100) + "/p" + std::to_string(i) + ".htm", ""});
    const SitemapFile big = sitemapOf(pages, Side::Old);
    const std::vector<RedirectOutput::Part> parts = big.parts();
    ASSERT_EQ(parts.size(), 2u) << "50,000 pages and one image";
    EXPECT_EQ(locations(parts[1].Text).size(), 1u);
    expectValid(big, "50001");
}
#endif

} // namespace
