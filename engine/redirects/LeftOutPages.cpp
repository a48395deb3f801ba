#include "LeftOutPages.h"

#include <algorithm>

std::vector<std::string>
LeftOutPages::warnings(std::string_view fileName, const RedirectPlan& plan,
                       const std::function<bool(const RedirectPlan::Rule&)>& carried)
{
    std::vector<std::string> paths;
    // The page rules are many: looked at where they are, not copied.
    const auto collect = [&](const std::vector<RedirectPlan::Rule>& rules) {
        for (const RedirectPlan::Rule& address : rules) {
            if (!carried(address))
                paths.push_back(address.Path);
        }
    };
    collect(plan.folderRules());
    collect(plan.pageRules());
    if (paths.empty())
        return {};
    constexpr std::size_t Named = 5;
    std::string warning = std::string(fileName) + ": " + std::to_string(paths.size()) +
                          (paths.size() == 1 ? " Seite bekommt" : " Seiten bekommen") +
                          " keine Regel, weil der Server ihren Namen oder ihre neue Adresse "
                          "nicht sicher lesen kann; dort leitet nur die Ersatzseite weiter: ";
    for (std::size_t i = 0; i < std::min(paths.size(), Named); ++i)
        warning += (i == 0 ? "/" : ", /") + paths[i];
    if (paths.size() > Named)
        warning += " und " + std::to_string(paths.size() - Named) + " weitere";
    return {warning};
}
