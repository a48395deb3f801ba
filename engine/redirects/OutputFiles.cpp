#include "OutputFiles.h"

#include "EngineError.h"
#include "FileSystem.h"

OutputFiles::OutputFiles(const RelocationInputs& inputs)
    : m_run{inputs.URLneu, inputs.appendsSubpath()}
{}

void OutputFiles::add(const OutputFormat& format, std::string path)
{
    m_files.push_back({&format, std::move(path), format.Make(m_run)});
}

bool OutputFiles::holdsServerRules() const
{
    for (const File& file : m_files) {
        if (file.Format != &OutputFormat::report())
            return true;
    }
    return false;
}

void OutputFiles::addPage(const RelocationWindow::Page& page)
{
    for (File& file : m_files)
        file.Writer->addPage(page);
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
