#pragma once

#include "CsvWriter.h"
#include "RedirectOutput.h"

#include <string>
#include <string_view>

// A CSV list of the pages of a run: old path, output path and page URL.
class PageReport : public RedirectOutput
{
public:
    PageReport();

    void add(std::string_view sourcePath, std::string_view targetPath, std::string_view url);
    void addPage(const RelocationWindow::Page& page) override
    {
        add(page.SourcePath, page.TargetPath, page.Url);
    }
    // Listed without a replacement page: only the server rules move it.
    void addOtherFile(const RelocationWindow::Page& file) override
    {
        add(file.SourcePath, {}, file.Url);
    }
    std::string text() const override { return m_csv.text(); }

private:
    CsvWriter m_csv;
};
