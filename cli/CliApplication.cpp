#include "CliApplication.h"

#include "EngineError.h"
#include "FileSystem.h"
#include "HtaccessRules.h"
#include "PageReport.h"
#include "Relocation.h"
#include "SharedState.h"
#include "TreePlacement.h"
#include "TypedPath.h"

#include <ostream>

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
    if (!options->ReportPath.empty() && reportLiesInTrees(*options)) {
        m_streams.err << "kelvane-cli: Die Liste (--report) darf weder im Verzeichnis noch in "
                         "dessen _Moved-Ordner liegen: "
                      << options->ReportPath << '\n'
                      << CommandLine::usage();
        return WrongUsage;
    }
    return relocate(*options);
}

int CliApplication::relocate(const CommandLine& options)
{
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

    Relocation relocation(window, m_fileSystem, m_state,
                          {options.Directory, options.Types, options.Url,
                           options.AppendSubpath ? 1 : 0, !options.UserTemplate});
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

// The list is a file of its own: written into the old site it could replace
// a page, written into the output tree it would be uploaded with the pages.
bool CliApplication::reportLiesInTrees(const CommandLine& options)
{
    std::string baseDirectory = TypedPath::resolve(options.Directory);
    if (baseDirectory.size() > 1 && baseDirectory.back() == PathSeparator)
        baseDirectory.pop_back();
    return TreePlacement::liesInTrees(m_fileSystem, TypedPath::resolve(options.ReportPath),
                                      baseDirectory);
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
    case Relocation::Outcome::Incomplete:
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
