#include "PageReport.h"

PageReport::PageReport()
{
    add("Alte Datei", "Ersatzseite", "URL");
}

void PageReport::add(std::string_view sourcePath, std::string_view targetPath, std::string_view url)
{
    appendField(sourcePath);
    m_text += ',';
    appendField(targetPath);
    m_text += ',';
    appendField(url);
    m_text += "\r\n";
}

// Quoted when the field holds a separator, a quote or a line break, with
// quotes doubled, as spreadsheet programs expect.
void PageReport::appendField(std::string_view field)
{
    if (field.find_first_of(",\"\r\n") == std::string_view::npos) {
        m_text += field;
        return;
    }
    m_text += '"';
    for (const char c : field) {
        if (c == '"')
            m_text += '"';
        m_text += c;
    }
    m_text += '"';
}
