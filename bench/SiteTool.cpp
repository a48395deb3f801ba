// Makes the synthetic site the benchmark runs on, and writes its pages the
// plainest possible way as the baseline: no walking, no checks, no temporary
// files, just the known list of pages with the placeholder replaced.
//
//   kelvane-bench-site make DIRECTORY
//   kelvane-bench-site baseline DIRECTORY URL TEMPLATE

#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

constexpr int FoldersPerLevel = 10;
constexpr int PagesPerFolder = 100;
constexpr int OtherFilesPerFolder = 20;
const char* const PageTypes[] = {"htm", "html", "php"};

// The 1,000 leaf folders, three levels deep, as paths relative to the site.
std::vector<std::string> leafFolders()
{
    std::vector<std::string> folders;
    for (int a = 0; a < FoldersPerLevel; ++a)
        for (int b = 0; b < FoldersPerLevel; ++b)
            for (int c = 0; c < FoldersPerLevel; ++c)
                folders.push_back("bereich " + std::to_string(a) + "/thema" + std::to_string(b) +
                                  "/seite" + std::to_string(c));
    return folders;
}

std::string pageName(int i)
{
    return "Seite " + std::to_string(i) + "." + PageTypes[i % 3];
}

int makeSite(const fs::path& site)
{
    const std::string oldPage(2048, 'x');
    for (const std::string& folder : leafFolders()) {
        fs::create_directories(site / folder);
        for (int i = 0; i < PagesPerFolder; ++i)
            std::ofstream(site / folder / pageName(i)) << oldPage;
        for (int i = 0; i < OtherFilesPerFolder; ++i)
            std::ofstream(site / folder / ("bild" + std::to_string(i) + ".png")) << oldPage;
    }
    return 0;
}

std::string replaceAll(std::string text, const std::string& from, const std::string& to)
{
    for (std::size_t at = text.find(from); at != std::string::npos;
         at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
    return text;
}

int writeBaseline(const fs::path& site, const std::string& url, const fs::path& templatePath)
{
    std::ifstream in(templatePath, std::ios::binary);
    const std::string templateText{std::istreambuf_iterator<char>(in), {}};
    const fs::path moved = site.string() + "_Moved";
    for (const std::string& folder : leafFolders()) {
        fs::create_directories(moved / folder);
        for (int i = 0; i < PagesPerFolder; ++i) {
            const std::string name = pageName(i);
            std::ofstream(moved / folder / name, std::ios::binary)
                << replaceAll(templateText, "%URL%", url + "/" + folder + "/" + name) << "\r\n";
        }
    }
    return 0;
}

} // namespace

int main(int argc, char* argv[])
{
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (args.size() == 2 && args[0] == "make")
        return makeSite(args[1]);
    if (args.size() == 4 && args[0] == "baseline")
        return writeBaseline(args[1], args[2], args[3]);
    std::cerr << "usage: kelvane-bench-site make DIR | baseline DIR URL TEMPLATE\n";
    return 2;
}
