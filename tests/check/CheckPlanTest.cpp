#include "CheckPlan.h"

#include "MemoryFileSystem.h"

#include <gtest/gtest.h>

namespace {

#ifdef _WIN32
const std::string Base = "C:\\site";
#else
const std::string Base = "/site";
#endif
const std::string S(1, PathSeparator);

TEST(CheckPlan, TheHomepageEndsWhereTheRootIndexPageGoes)
{
    const std::tuple<std::vector<std::pair<std::string, std::string>>, std::string> cases[] = {
        {{{"a.htm", "http://n/x/a.htm"},
          {"default.htm", "http://n/x/default.htm"},
          {"Index.html", "http://n/x/Index.html"},
          {"sub/index.htm", "http://n/x/sub/index.htm"}},
         "http://n/x/"},
        {{{"index.htm", "http://anders.example/start"}}, "http://anders.example/start"},
        {{{"sub/index.htm", "http://n/x/sub/index.htm"}}, "http://n/x"},
    };
    for (const auto& [pages, newHome] : cases) {
        CheckPlan plan("http://alt.example/site", "http://n/x");
        for (const auto& [path, url] : pages)
            plan.addPage(path, url);
        EXPECT_EQ(plan.homepage().OldUrl, "http://alt.example/site/");
        EXPECT_EQ(plan.homepage().NewUrl, newHome);
    }
}

TEST(CheckPlan, OtherFilesGoByMappingOrByThePagesRule)
{
    MemoryFileSystem fileSystem;
    fileSystem.addFile(Base + S + "index.htm");
    fileSystem.addFile(Base + S + "bild 1.png");
    fileSystem.addFile(Base + S + "doc" + S + "a.pdf");
    fileSystem.addFile(Base + S + "map.csv", "doc/a.pdf,http://anders.example/a.pdf\r\n");
    RelocationInputs inputs{Base, "htm", "http://n/x", 1, true, Base + S + "map.csv", true};

    CheckPlan plan("http://alt.example", inputs.URLneu);
    plan.addPage("index.htm", "http://n/x/index.htm");
    plan.addOtherFiles(fileSystem, inputs);
    std::vector<std::tuple<std::string, std::string, bool>> planned;
    for (const HttpCheck::Page& page : plan.pages())
        planned.emplace_back(page.OldUrl, page.PageUrl, page.IsPage);
    EXPECT_EQ(planned, (std::vector<std::tuple<std::string, std::string, bool>>{
                           {"http://alt.example/index.htm", "http://n/x/index.htm", true},
                           {"http://alt.example/bild%201.png", "http://n/x/bild 1.png", false},
                           {"http://alt.example/map.csv", "http://n/x/map.csv", false},
                           {"http://alt.example/doc/a.pdf", "http://anders.example/a.pdf", false},
                       }));
}

} // namespace
