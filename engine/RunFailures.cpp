#include "RunFailures.h"

void RunFailures::pageFailed(const std::string& reason)
{
    m_reasons.push_back(reason);
    ++m_pages;
}

void RunFailures::folderUnreadable(const std::string& reason)
{
    m_reasons.push_back(reason);
}

void RunFailures::linkSkipped(const std::string& path)
{
    m_reasons.push_back("Verknüpfung auf einen Ordner übersprungen: " + path);
    ++m_links;
}

std::string RunFailures::message() const
{
    std::string text;
    if (m_pages > 0)
        text =
            std::to_string(m_pages) + (m_pages == 1 ? " Seite konnte nicht geschrieben werden"
                                                    : " Seiten konnten nicht geschrieben werden");
    if (folders() > 0)
        text += (text.empty() ? "" : ", ") + std::to_string(folders()) +
                (folders() == 1 ? " Ordner konnte nicht gelesen werden"
                                : " Ordner konnten nicht gelesen werden");
    if (m_links > 0)
        text += (text.empty() ? "" : ", ") + std::to_string(m_links) +
                (m_links == 1 ? " verknüpfter Ordner wurde übersprungen"
                              : " verknüpfte Ordner wurden übersprungen");
    text += ':';
    for (std::size_t i = 0; i < m_reasons.size() && i < ShownInMessage; ++i)
        text += "\r\n" + m_reasons[i];
    if (m_reasons.size() > ShownInMessage)
        text += "\r\n… und " + std::to_string(m_reasons.size() - ShownInMessage) + " weitere";
    return text;
}
