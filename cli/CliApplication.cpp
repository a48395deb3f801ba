#include "CliApplication.h"

#include "CheckPlan.h"
#include "CheckReport.h"
#include "EngineError.h"
#include "EventThrottle.h"
#include "FileSystem.h"
#include "HttpCheck.h"
#include "OpenFolder.h"
#include "OutputFiles.h"
#include "Relocation.h"
#include "SharedState.h"
#include "ShownText.h"
#include "SuggestCommand.h"
#include "TextCodec.h"
#include "TreePlacement.h"
#include "TypedPath.h"
#include "UploadCommand.h"

#include <ostream>

namespace {

// The check's list, known only once every page has been asked for.
class CheckReportText : public RedirectOutput
{
public:
    explicit CheckReportText(const std::string& text) : m_text(text) {}
    void addPage(const RelocationWindow::Page&) override {}
    std::string text() const override { return m_text; }

private:
    const std::string& m_text;
};

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
        m_streams.err << "kelvane-cli: " << ShownText::visible(error) << '\n'
                      << CommandLine::usage();
        return WrongUsage;
    }
    if (options->ShowHelp) {
        m_streams.out << CommandLine::help();
        return Done;
    }
    if (!options->UploadUrl.empty())
        return UploadCommand(m_fileSystem, m_streams).run(*options);
    if (!options->OutputPath.empty() && liesInTrees(*options, options->OutputPath)) {
        m_streams.err << "kelvane-cli: Die Zuordnungsdatei (--output) darf weder im Verzeichnis "
                         "noch in dessen _Moved-Ordner liegen: "
                      << ShownText::visible(options->OutputPath) << '\n';
        return WrongUsage;
    }
    if (!options->SuggestSite.empty())
        return SuggestCommand(m_fileSystem, m_state, m_streams).run(*options);
    return options->CheckUrl.empty() ? relocate(*options) : check(*options);
}

RelocationInputs CliApplication::inputsOf(const CommandLine& options)
{
    RelocationInputs inputs{
        options.Directory,     options.Types,   options.Url,     options.AppendSubpath ? 1 : 0,
        !options.UserTemplate, options.MapPath, options.AllFiles};
    inputs.NeedsAbsoluteUrl =
        !options.Servers.empty() || !options.CheckUrl.empty() || !options.SitemapsUrl.empty();
    return inputs;
}

int CliApplication::relocate(const CommandLine& options)
{
    const RelocationInputs inputs = inputsOf(options);
    OutputFiles extras(inputs, options.SitemapsUrl);
    for (const std::string& server : options.Servers)
        extras.add(*OutputFormat::find(server));
    for (const OutputFormat& format : OutputFormat::all()) {
        if (format.ChosenBy == OutputFormat::Choice::Sitemaps && !options.SitemapsUrl.empty())
            extras.add(format);
    }
    if (!options.ReportPath.empty())
        extras.add(OutputFormat::report(), options.ReportPath);

    TerminalWindow window(options, m_streams);
    window.setPageListener([&](const RelocationWindow::Page& page) {
        if (options.DryRun)
            m_streams.out << ShownText::visible(page.TargetPath) << '\t'
                          << ShownText::visible(page.Url) << '\n';
    });
    Relocation relocation(window, m_fileSystem, m_state, inputs);
    relocation.setDryRun(options.DryRun);
    relocation.setExtraFiles(&extras);
    const Relocation::Outcome outcome = relocation.run();
    warnUnmapped(relocation);
    warnCaseTwins(relocation);
    const int status = reportOutcome(options, relocation, outcome, window);
    return showWritten(relocation.extraFilesWritten()) ? status : RunFailed;
}

// True when every extra file was written.
bool CliApplication::showWritten(const OutputFiles::Result& written)
{
    for (const std::string& name : written.Written)
        m_streams.err << "Geschrieben: " << ShownText::visible(name) << '\n';
    for (const std::string& warning : written.Warnings)
        m_streams.err << "Warnung: " << ShownText::visible(warning) << '\n';
    for (const std::string& error : written.Errors)
        m_streams.err << ShownText::visible(error) << '\n';
    return written.Errors.empty();
}

// The suggested mapping is a file of its own: written into the old site it
// could replace a page, written into the output tree it would be uploaded
// with the pages.
bool CliApplication::liesInTrees(const CommandLine& options, const std::string& path)
{
    std::string baseDirectory = TypedPath::resolve(options.Directory);
    if (baseDirectory.size() > 1 && baseDirectory.back() == PathSeparator)
        baseDirectory.pop_back();
    const std::string resolved = TypedPath::resolve(path);
    try {
        const std::unique_ptr<OpenFolder> folder =
            m_fileSystem.openFolder(TreePlacement::folderOf(resolved));
        return TreePlacement::liesInTrees(m_fileSystem, *folder, baseDirectory);
    } catch (const EngineError&) {
        // A folder that cannot be opened takes no file either; writing says why.
        return false;
    }
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
        // A faulty mapping file or report place is a fault of the call, like
        // a wrong option.
        return relocation.mappingRefused() || relocation.extraFileRefused() ? WrongUsage : Refused;
    }
    m_streams.err << window.status() << '\n';
    return RunFailed;
}

void CliApplication::warnUnmapped(const Relocation& relocation)
{
    for (const std::string& path : relocation.unmappedPaths()) {
        m_streams.err << "Warnung: Die Zuordnungsdatei nennt \"" << ShownText::visible(path)
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
    TerminalWindow window(options, m_streams);
    std::string csv;
    OutputFiles report(inputsOf(options));
    if (!options.ReportPath.empty()) {
        report.add(OutputFormat::report(), options.ReportPath,
                   std::make_unique<CheckReportText>(csv));
        if (const std::string refusal = reportRefusal(options, report); !refusal.empty()) {
            window.showMessage(refusal, RelocationWindow::Icon::Critical);
            return WrongUsage;
        }
    }
    CheckPlan plan(options.CheckUrl, options.Url);
    window.setPageListener(
        [&](const RelocationWindow::Page& page) { plan.addPage(page.RelativePath, page.Url); });
    const RelocationInputs inputs = inputsOf(options);
    Relocation relocation(window, m_fileSystem, m_state, inputs);
    relocation.setDryRun(true);
    const Relocation::Outcome outcome = relocation.run();
    warnUnmapped(relocation);
    if (outcome != Relocation::Outcome::Done)
        return refusal(relocation, outcome, window);
    if (inputs.AllFiles)
        plan.addOtherFiles(m_fileSystem, inputs);

    std::size_t done = 0;
    const std::size_t total = plan.pages().size();
    EventThrottle progress(
        [&] { m_streams.err << "Geprüft: " << std::min(done, total) << " von " << total << '\n'; },
        std::chrono::milliseconds(500));
    HttpCheck check;
    check.checkHomepage(plan.homepage());
    const CheckReport results(check.run(plan.pages(), [&](std::size_t, const CheckResult&) {
        ++done;
        if (m_streams.errorIsTerminal)
            progress();
    }));
    for (const CheckResult& result : results.results())
        m_streams.out << CheckReport::line(result) << '\n';
    m_streams.out << results.summary() << '\n';

    csv = results.csv();
    if (!showWritten(report.write(nullptr, {}, true)))
        return RunFailed;
    return results.allReached() && results.withoutNotes() ? Done : NotEveryPageArrives;
}

// The check has no output tree; its list is held to the run's rules all the
// same. A directory that does not exist is left for the run to refuse.
std::string CliApplication::reportRefusal(const CommandLine& options, OutputFiles& report)
{
    std::string baseDirectory = TypedPath::resolve(options.Directory);
    if (baseDirectory.size() > 1 && baseDirectory.back() == PathSeparator)
        baseDirectory.pop_back();
    if (!m_fileSystem.FolderExists(baseDirectory))
        return {};
    try {
        return report.prepare(m_fileSystem, baseDirectory);
    } catch (const EngineError& error) {
        return error.what();
    }
}
