#include "OutputFiles.h"

#include "EngineError.h"
#include "FileSystem.h"
#include "OpenFolder.h"
#include "OutputTree.h"
#include "TreePlacement.h"

#include <algorithm>

namespace {

using Place = OutputFormat::Place;

std::string notRegularRefusal(const std::string& path)
{
    return "Die Datei " + path +
           " ist keine gewöhnliche Datei, sondern ein Ordner, eine Verknüpfung oder ein "
           "Gerät.\r\nKelvane ersetzt sie nicht.";
}

// Names the way the file system compares them.
bool sameName(const std::string& a, const std::string& b)
{
#ifdef _WIN32
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
        return lower(x) == lower(y);
    });
#else
    return a == b;
#endif
}

std::vector<std::string> namesAt(Place place, const std::string& outputRoot)
{
    std::vector<std::string> names;
    for (const OutputFormat& format : OutputFormat::all()) {
        if (format.Where == place)
            names.push_back(place == Place::InsideOutputRoot ? std::string(format.File)
                                                             : format.displayName(outputRoot));
    }
    return names;
}

} // namespace

OutputFiles::OutputFiles(const RelocationInputs& inputs, std::string oldSiteUrl)
    : m_run{inputs.URLneu, inputs.appendsSubpath(), std::move(oldSiteUrl)}
{}

OutputFiles::~OutputFiles() = default;

void OutputFiles::add(const OutputFormat& format, std::string path)
{
    m_files.push_back({&format, std::move(path), format.Make(m_run), nullptr});
}

void OutputFiles::add(const OutputFormat& format, std::string path,
                      std::unique_ptr<RedirectOutput> writer)
{
    m_files.push_back({&format, std::move(path), std::move(writer), nullptr});
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

void OutputFiles::addOtherFile(const RelocationWindow::Page& file)
{
    for (File& output : m_files)
        output.Writer->addOtherFile(file);
}

std::string OutputFiles::prepare(FileSystem& fileSystem, const std::string& baseDirectory)
{
    for (File& file : m_files) {
        std::string refusal = refusalFor(fileSystem, baseDirectory, file);
        if (!refusal.empty())
            return refusal;
    }
    return {};
}

std::string OutputFiles::refusalFor(FileSystem& fileSystem, const std::string& baseDirectory,
                                    File& file)
{
    const std::string outputRoot = baseDirectory + "_Moved";
    const bool inside = file.Path.empty() && file.Format->Where == Place::InsideOutputRoot;
    if (inside && !fileSystem.FolderExists(outputRoot))
        return {};
    const std::string path = file.Path.empty() ? file.Format->pathFor(outputRoot) : file.Path;
    const std::string name = TreePlacement::nameOf(path);
    std::unique_ptr<OpenFolder> folder;
    if (name.empty() || name == "." || name == "..")
        return "Die Datei " + path + " kann nicht geschrieben werden: Es fehlt der Dateiname.";
    try {
        folder = fileSystem.openFolder(TreePlacement::folderOf(path));
    } catch (const EngineError& error) {
        return "Die Datei " + path + " kann nicht geschrieben werden.\r\n" + error.what();
    }
    if (folder->entry(name) == OpenFolder::Entry::Other)
        return notRegularRefusal(path);
    if (file.Path.empty())
        return {};

    if (!fileSystem.FolderWritable(folder->path()))
        return "Die Datei " + path +
               " kann nicht geschrieben werden: Der Ordner ist schreibgeschützt.";
    if (TreePlacement::liesInTrees(fileSystem, *folder, baseDirectory))
        return "Die Liste " + path +
               " darf weder im Verzeichnis noch in dessen _Moved-Ordner liegen.";
    // Beside the output root lie the server rules of every format, also of
    // one not chosen this time: a list there would replace them.
    const FileIdentity beside =
        fileSystem.openFolder(TreePlacement::folderOf(outputRoot))->identity();
    for (const std::string& output : namesAt(Place::BesideOutputRoot, outputRoot)) {
        if (folder->identity() == beside && sameName(name, output) &&
            output != file.Format->displayName(outputRoot))
            return "Die Liste " + path + " ist zugleich eine andere Ausgabe dieses Laufs (" +
                   output + ").";
    }
    file.Folder = std::move(folder);
    return {};
}

OutputFiles::Result OutputFiles::write(OutputTree* tree, const std::string& outputRoot,
                                       bool complete) const
{
    Result result;
    for (const File& file : m_files) {
        if ((!complete && !file.Format->WrittenAfterPartialRun) || (!tree && !file.Folder))
            continue;
        const bool inside = file.Format->Where == Place::InsideOutputRoot;
        OpenFolder& folder = file.Folder ? *file.Folder
                             : inside    ? tree->rootFolder()
                                         : tree->parentFolder();
        const std::string name = file.Folder ? TreePlacement::nameOf(file.Path)
                                 : inside    ? std::string(file.Format->File)
                                             : file.Format->displayName(outputRoot);
        try {
            // Parts first: the index that names them is written once they are there.
            std::vector<std::string> partNames;
            for (const RedirectOutput::Part& part : file.Writer->parts())
                partNames.push_back(part.FileName);
            if (!partNames.empty())
                folder.removeStaleTemporaries(partNames);
            for (const RedirectOutput::Part& part : file.Writer->parts()) {
                folder.writeFile(part.FileName, part.Text);
                result.Written.push_back(part.FileName);
            }
            if (file.Folder)
                file.Folder->removeStaleTemporaries({name});
            folder.writeFile(name, file.Writer->text());
            result.Written.push_back(file.Path.empty() ? name : file.Path);
        } catch (const EngineError& error) {
            result.Errors.push_back(error.what());
            continue;
        }
        for (std::string& warning : file.Writer->warnings())
            result.Warnings.push_back(std::move(warning));
    }
    return result;
}

void OutputFiles::removeStaleTemporaries(OutputTree& tree, const std::string& outputRoot)
{
    tree.rootFolder().removeStaleTemporaries(namesAt(Place::InsideOutputRoot, outputRoot));
    tree.parentFolder().removeStaleTemporaries(namesAt(Place::BesideOutputRoot, outputRoot));
}
