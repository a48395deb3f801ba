#include "SuggestCommand.h"

#include "CliApplication.h"
#include "EngineError.h"
#include "EventThrottle.h"
#include "FileSystem.h"
#include "MappingSuggester.h"
#include "Relocation.h"
#include "SuggestionCsv.h"

#include <map>
#include <ostream>

namespace {

std::string summary(const std::vector<MappingSuggester::Suggestion>& suggestions)
{
    std::map<Verdict, std::size_t> counts;
    for (const MappingSuggester::Suggestion& suggestion : suggestions)
        ++counts[suggestion.Result];
    std::string text = "Vorgeschlagen: " + std::to_string(suggestions.size()) + " Seiten";
    for (const Verdict verdict : AllVerdicts)
        text += ", " + std::string(verdictName(verdict)) + ": " + std::to_string(counts[verdict]);
    return text;
}

} // namespace

int SuggestCommand::run(const CommandLine& options)
{
    MappingSuggester::Request request;
    request.NewSite = options.SuggestSite;
    request.NewUrl = options.Url;
    request.Types = options.Types;

    TerminalWindow window(options, m_streams);
    window.setPageListener([&](const RelocationWindow::Page& page) {
        request.OldPages.push_back({page.RelativePath, page.SourcePath});
    });
    Relocation relocation(window, m_fileSystem, m_state,
                          {options.Directory,
                           options.Types,
                           options.Url,
                           options.AppendSubpath ? 1 : 0,
                           !options.UserTemplate,
                           {}});
    relocation.setDryRun(true);
    if (relocation.run() != Relocation::Outcome::Done) {
        m_streams.err << window.status() << '\n';
        return CliApplication::Refused;
    }

    SuggestProgress shown;
    EventThrottle throttle(
        [&] {
            m_streams.err << shown.Step << ": " << shown.Done;
            if (shown.Total > 0)
                m_streams.err << " von " << shown.Total;
            m_streams.err << '\n';
        },
        std::chrono::milliseconds(500));
    const MappingSuggester::Result result =
        MappingSuggester(m_fileSystem).run(request, [&](const SuggestProgress& progress) {
            shown = progress;
            if (m_streams.errorIsTerminal)
                throttle();
        });
    for (const std::string& warning : result.Warnings)
        m_streams.err << "Warnung: " << warning << '\n';
    if (!result.Error.empty()) {
        m_streams.err << "kelvane-cli: " << result.Error << '\n';
        return CliApplication::RunFailed;
    }
    try {
        m_fileSystem.WriteFile(options.OutputPath, SuggestionCsv::text(result.Suggestions));
    } catch (const EngineError& error) {
        m_streams.err << error.what() << '\n';
        return CliApplication::RunFailed;
    }
    m_streams.out << summary(result.Suggestions) << '\n';
    return CliApplication::Done;
}
