#pragma once

#include "OutputFormat.h"
#include "RelocationInputs.h"
#include "RelocationWindow.h"

#include <memory>
#include <string>
#include <vector>

class FileSystem;
class OpenFolder;
class OutputTree;

// The extra files one run writes: checked before the first page, fed every
// page of the run, and written atomically at its end, while the run still
// holds its lock, through folders held open since then. Every extra file goes
// this one way.
class OutputFiles
{
public:
    struct Result
    {
        std::vector<std::string> Written; // display names, in table order
        std::vector<std::string> Warnings;
        std::vector<std::string> Errors;
    };

    // oldSiteUrl: the old site's address, which the old-site sitemap needs.
    explicit OutputFiles(const RelocationInputs& inputs, std::string oldSiteUrl = {});
    ~OutputFiles();

    // path: where to write it; empty for the format's own place.
    void add(const OutputFormat& format, std::string path = {});
    // With a writer of the caller's, e.g. for a list made after the run.
    void add(const OutputFormat& format, std::string path, std::unique_ptr<RedirectOutput> writer);
    bool empty() const { return m_files.empty(); }
    // Whether server rules are among the files: they need an absolute URL.
    bool holdsServerRules() const;

    // Why a file cannot be written where it goes, in German, or the empty
    // text. A file of its own path must lie in an existing, writable folder
    // outside the base directory and the output root, and be none of the
    // places the formats of the table write to; no file may replace anything
    // but a regular file. The folders of such files are held open from here.
    std::string prepare(FileSystem& fileSystem, const std::string& baseDirectory);

    void addPage(const RelocationWindow::Page& page);
    void addOtherFile(const RelocationWindow::Page& file);
    // complete: the run wrote every page. A failing file does not keep the
    // others from being written. Without a tree only the files of their own
    // path are written.
    Result write(OutputTree* tree, const std::string& outputRoot, bool complete) const;

    // Removes the temporary files that a run killed while writing extra files
    // left in the output root and beside it. Only under the run's lock.
    static void removeStaleTemporaries(OutputTree& tree, const std::string& outputRoot);

private:
    struct File
    {
        const OutputFormat* Format;
        std::string Path;
        std::unique_ptr<RedirectOutput> Writer;
        std::unique_ptr<OpenFolder> Folder; // for a file of its own path
    };

    std::string refusalFor(FileSystem& fileSystem, const std::string& baseDirectory, File& file);

    RedirectRun m_run;
    std::vector<File> m_files;
};
