#include "CliApplication.h"

#include "EngineError.h"
#include "FileSystem.h"
#include "HtaccessRules.h"
#include "NativePath.h"
#include "PageReport.h"
#include "Relocation.h"
#include "SharedState.h"

#include <algorithm>
#include <filesystem>
#include <ostream>

namespace {

#ifdef _WIN32

bool hasDriveLetter(const std::string& path)
{
    return path.size() >= 2 && path[1] == ':' &&
           ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z'));
}

// Only a relative path ("site", "..\site", "C:site") is resolved against the
// current folder. A path that names its place already keeps it, and the run
// and its messages see it as typed: a bare drive ("X:", which is not the
// current folder of X), a drive's folder ("C:\site"), a folder from the
// current drive's root ("\site"), a share ("\\server\share"). Their "/"
// become "\", the separator the run splits at; only a device path
// ("\\?\C:\site"), in which "/" is no separator, is left entirely alone.
std::string absoluteDirectory(std::string directory)
{
    if (directory.empty() || directory.rfind("\\\\?\\", 0) == 0)
        return directory;
    std::replace(directory.begin(), directory.end(), '/', '\\');
    const bool fromRoot = directory.front() == '\\';
    const bool driveOnly = hasDriveLetter(directory) && directory.size() == 2;
    const bool driveAbsolute =
        hasDriveLetter(directory) && directory.size() > 2 && directory[2] == '\\';
    if (fromRoot || driveOnly || driveAbsolute)
        return directory;
    try {
        std::error_code error;
        const std::filesystem::path absolute =
            std::filesystem::absolute(toNativePath(directory), error);
        return error ? directory : fromNativePath(absolute.lexically_normal());
    } catch (const EngineError&) {
        return directory; // no path at all: the run reports it as not found
    }
}

#else

// A shell user names folders relative to where they are; the run needs the
// full path, since it climbs the output path to create its folders.
std::string absoluteDirectory(const std::string& directory)
{
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::absolute(directory, error);
    return error ? directory : absolute.lexically_normal().string();
}

#endif

} // namespace

CliApplication::CliApplication(FileSystem& fileSystem, SharedState state,
                               TerminalWindow::Streams streams)
    : m_fileSystem(fileSystem), m_state(std::move(state)), m_streams(streams)
{}

int CliApplication::run(const std::vector<std::string>& arguments)
{
    std::string error;
    std::optional<CommandLine> options = CommandLine::parse(arguments, error);
    if (!options) {
        m_streams.err << "kelvane-cli: " << error << '\n' << CommandLine::usage();
        return WrongUsage;
    }
    if (options->ShowHelp) {
        m_streams.out << CommandLine::help();
        return Done;
    }
    options->Directory = absoluteDirectory(options->Directory);
    return relocate(*options);
}

int CliApplication::relocate(const CommandLine& options)
{
    SharedState state = m_state;
    state.UseStandardTemplate = !options.UserTemplate;

    PageReport report;
    HtaccessRules rules;
    TerminalWindow window(options, m_streams);
    window.setPageListener([&](const RelocationWindow::Page& page) {
        if (options.DryRun)
            m_streams.out << page.TargetPath << '\t' << page.Url << '\n';
        if (!options.ReportPath.empty())
            report.add(page.SourcePath, page.TargetPath, page.Url);
        if (options.Htaccess)
            rules.add(page.RelativePath, page.Url);
    });

    Relocation relocation(window, m_fileSystem, state);
    relocation.setDryRun(options.DryRun);
    const Relocation::Outcome outcome = relocation.run();
    int status = reportOutcome(options, relocation, outcome, window);

    // The report lists what was written, also when the run stopped early.
    if (!options.ReportPath.empty() && relocation.pagesWritten() > 0 &&
        !writeFile(options.ReportPath, report.text()))
        status = RunFailed;
    if (options.Htaccess && outcome == Relocation::Outcome::Done &&
        !writeFile(relocation.outputRoot() + PathSeparator + ".htaccess", rules.text()))
        status = RunFailed;
    return status;
}

int CliApplication::reportOutcome(const CommandLine& options, const Relocation& relocation,
                                  Relocation::Outcome outcome, const TerminalWindow& window)
{
    switch (outcome) {
    case Relocation::Outcome::Done:
        if (options.DryRun)
            m_streams.err << "Probelauf: " << relocation.pagesWritten()
                          << " Dateien, nichts geschrieben.\n";
        else
            m_streams.out << window.status() << '\n';
        return Done;
    case Relocation::Outcome::Refused:
        if (window.status() == Relocation::AbortedStatus)
            m_streams.err << window.status() << '\n';
        return Refused;
    case Relocation::Outcome::Failed:
    case Relocation::Outcome::Stopped:
        m_streams.err << window.status() << '\n';
        return RunFailed;
    }
    return RunFailed;
}

bool CliApplication::writeFile(const std::string& path, const std::string& bytes)
{
    try {
        m_fileSystem.WriteFile(path, bytes);
        return true;
    } catch (const EngineError& error) {
        m_streams.err << error.what() << '\n';
        return false;
    }
}
