#pragma once

#include "OutputFormat.h"
#include "RelocationInputs.h"
#include "RelocationWindow.h"

#include <memory>
#include <string>
#include <vector>

class FileSystem;

// The extra files one run writes: fed every page of the run, written
// atomically when the run has ended.
class OutputFiles
{
public:
    struct Result
    {
        std::vector<std::string> Written; // display names, in table order
        std::vector<std::string> Warnings;
        std::vector<std::string> Errors;
    };

    explicit OutputFiles(const RelocationInputs& inputs);

    // path: where to write it; empty for the format's own place.
    void add(const OutputFormat& format, std::string path = {});
    bool empty() const { return m_files.empty(); }
    // Whether server rules are among the files: they need an absolute URL.
    bool holdsServerRules() const;

    void addPage(const RelocationWindow::Page& page);
    // complete: the run wrote every page. A failing file does not keep the
    // others from being written.
    Result write(FileSystem& fileSystem, const std::string& outputRoot, bool complete) const;

private:
    struct File
    {
        const OutputFormat* Format;
        std::string Path;
        std::unique_ptr<RedirectOutput> Writer;
    };

    RedirectRun m_run;
    std::vector<File> m_files;
};
