#include "CliApplication.h"

#include "BrowserUrl.h"
#include "CheckReport.h"
#include "EngineError.h"
#include "EventThrottle.h"
#include "FileSystem.h"
#include "HttpCheck.h"
#include "OutputFiles.h"
#include "Relocation.h"
#include "SharedState.h"
#include "TextCodec.h"
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
    return options->CheckUrl.empty() ? relocate(*options) : check(*options);
}

RelocationInputs CliApplication::inputsOf(const CommandLine& options)
{
    return {options.Directory,     options.Types,  options.Url, options.AppendSubpath ? 1 : 0,
            !options.UserTemplate, options.MapPath};
}

int CliApplication::relocate(const CommandLine& options)
{
    const RelocationInputs inputs = inputsOf(options);
    OutputFiles extras(inputs);
    for (const std::string& server : options.Servers)
        extras.add(*OutputFormat::find(server));
    if (!options.ReportPath.empty())
        extras.add(OutputFormat::report(), options.ReportPath);

    TerminalWindow window(options, m_streams);
    window.setPageListener([&](const RelocationWindow::Page& page) {
        if (options.DryRun)
            m_streams.out << page.TargetPath << '\t' << page.Url << '\n';
        extras.addPage(page);
    });

    Relocation relocation(window, m_fileSystem, m_state, inputs);
    relocation.setDryRun(options.DryRun);
    const Relocation::Outcome outcome = relocation.run();
    warnUnmapped(relocation);
    warnCaseTwins(relocation);
    int status = reportOutcome(options, relocation, outcome, window);

    // The report lists what was written, also when the run stopped early.
    if (extras.empty() || relocation.pagesWritten() == 0 || options.DryRun)
        return status;
    const OutputFiles::Result written =
        extras.write(m_fileSystem, relocation.outputRoot(), outcome == Relocation::Outcome::Done);
    for (const std::string& name : written.Written)
        m_streams.err << "Geschrieben: " << name << '\n';
    for (const std::string& warning : written.Warnings)
        m_streams.err << "Warnung: " << warning << '\n';
    for (const std::string& error : written.Errors)
        m_streams.err << error << '\n';
    if (!written.Errors.empty())
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
    case Relocation::Outcome::Incomplete:
    case Relocation::Outcome::Failed:
    case Relocation::Outcome::Stopped:
        return refusal(relocation, outcome, window);
    }
    return RunFailed;
}

int CliApplication::refusal(const Relocation& relocation, Relocation::Outcome outcome,
                            const TerminalWindow& window)
{
    if (outcome == Relocation::Outcome::Refused) {
        if (window.status() == Relocation::AbortedStatus)
            m_streams.err << window.status() << '\n';
        // A faulty mapping file is a fault of the call, like a wrong option.
        return relocation.mappingRefused() ? WrongUsage : Refused;
    }
    m_streams.err << window.status() << '\n';
    return RunFailed;
}

void CliApplication::warnUnmapped(const Relocation& relocation)
{
    for (const std::string& path : relocation.unmappedPaths()) {
        m_streams.err << "Warnung: Die Zuordnungsdatei nennt \"" << TextCodec::visible(path)
                      << "\", doch diese Seite gibt es nicht.";
        if (!TextCodec::isValidUtf8(path))
            m_streams.err << " Die Zuordnungsdatei ist wohl nicht als UTF-8 gespeichert.";
        m_streams.err << '\n';
    }
}

void CliApplication::warnCaseTwins(const Relocation& relocation)
{
    for (const std::string& warning : relocation.caseWarnings())
        m_streams.err << "Warnung: " << warning << '\n';
}

// Plans the pages as a dry run would, then asks the old site for each.
int CliApplication::check(const CommandLine& options)
{
    std::vector<HttpCheck::Page> pages;
    TerminalWindow window(options, m_streams);
    window.setPageListener([&](const RelocationWindow::Page& page) {
        pages.push_back({BrowserUrl::join(options.CheckUrl, page.RelativePath), page.Url});
    });
    Relocation relocation(window, m_fileSystem, m_state, inputsOf(options));
    relocation.setDryRun(true);
    const Relocation::Outcome outcome = relocation.run();
    warnUnmapped(relocation);
    if (outcome != Relocation::Outcome::Done)
        return refusal(relocation, outcome, window);

    std::size_t done = 0;
    EventThrottle progress(
        [&] { m_streams.err << "Geprüft: " << done << " von " << pages.size() << '\n'; },
        std::chrono::milliseconds(500));
    const CheckReport report(HttpCheck().run(pages, [&](std::size_t, const CheckResult&) {
        ++done;
        if (m_streams.errorIsTerminal)
            progress();
    }));
    for (const CheckResult& result : report.results())
        m_streams.out << CheckReport::line(result) << '\n';
    m_streams.out << report.summary() << '\n';

    if (!options.ReportPath.empty() && !writeFile(options.ReportPath, report.csv()))
        return RunFailed;
    return report.allReached() ? Done : NotEveryPageArrives;
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
