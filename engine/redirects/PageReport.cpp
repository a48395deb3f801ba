#include "PageReport.h"

PageReport::PageReport() : m_csv(CsvWriter::Audience::People)
{
    add("Alte Datei", "Ersatzseite", "URL");
}

void PageReport::add(std::string_view sourcePath, std::string_view targetPath, std::string_view url)
{
    m_csv.addRecord({sourcePath, targetPath, url});
}
