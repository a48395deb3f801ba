#include "CliApplication.h"

#include "EngineError.h"
#include "FileSystem.h"
#include "OutputFiles.h"
#include "Relocation.h"
#include "SharedState.h"

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
    return relocate(*options);
}

int CliApplication::relocate(const CommandLine& options)
{
    const RelocationInputs inputs{options.Directory, options.Types, options.Url,
                                  options.AppendSubpath ? 1 : 0, !options.UserTemplate};
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
