#include "LeftOutPages.h"

#include <algorithm>

std::vector<std::string> LeftOutPages::warnings() const
{
    if (m_paths.empty())
        return {};
    constexpr std::size_t Named = 5;
    std::string warning = m_fileName + ": " + std::to_string(m_paths.size()) +
                          (m_paths.size() == 1 ? " Seite bekommt" : " Seiten bekommen") +
                          " keine Regel, weil der Server ihren Namen oder ihre neue Adresse "
                          "nicht sicher lesen kann; dort leitet nur die Ersatzseite weiter: ";
    for (std::size_t i = 0; i < std::min(m_paths.size(), Named); ++i)
        warning += (i == 0 ? "/" : ", /") + m_paths[i];
    if (m_paths.size() > Named)
        warning += " und " + std::to_string(m_paths.size() - Named) + " weitere";
    return {warning};
}
