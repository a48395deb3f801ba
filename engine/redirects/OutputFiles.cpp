#include "OutputFiles.h"

#include "EngineError.h"
#include "FileSystem.h"

OutputFiles::OutputFiles(const RelocationInputs& inputs, std::string oldSiteUrl)
    : m_run{inputs.URLneu, inputs.appendsSubpath(), std::move(oldSiteUrl)}
{}

void OutputFiles::add(const OutputFormat& format, std::string path)
{
    m_files.push_back({&format, std::move(path), format.Make(m_run)});
}

void OutputFiles::addPage(const RelocationWindow::Page& page)
{
    for (File& file : m_files)
        file.Writer->addPage(page);
}

void OutputFiles::addOtherFile(const RelocationWindow::Page& file)
{
    for (File& output : m_files)
        output.Writer->addOtherFile(file);
}

OutputFiles::Result OutputFiles::write(FileSystem& fileSystem, const std::string& outputRoot,
                                       bool complete) const
{
    Result result;
    for (const File& file : m_files) {
        if (!complete && !file.Format->WrittenAfterPartialRun)
            continue;
        const std::string path = file.Path.empty() ? file.Format->pathFor(outputRoot) : file.Path;
        try {
            // Parts first: the index that names them is written once they are there.
            const std::string folder = path.substr(0, path.find_last_of(PathSeparator) + 1);
            for (const RedirectOutput::Part& part : file.Writer->parts()) {
                fileSystem.WriteFile(folder + part.FileName, part.Text);
                result.Written.push_back(part.FileName);
            }
            fileSystem.WriteFile(path, file.Writer->text());
            result.Written.push_back(file.Path.empty() ? file.Format->displayName(outputRoot)
                                                       : path);
        } catch (const EngineError& error) {
            result.Errors.push_back(error.what());
            continue;
        }
        for (std::string& warning : file.Writer->warnings())
            result.Warnings.push_back(std::move(warning));
    }
    return result;
}
