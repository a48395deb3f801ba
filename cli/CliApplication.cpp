#include "CliApplication.h"

#include "Relocation.h"
#include "SharedState.h"

#include <filesystem>
#include <ostream>

CliApplication::CliApplication(FileSystem& fileSystem, std::string programFolder,
                               TerminalWindow::Streams streams)
    : m_fileSystem(fileSystem), m_programFolder(std::move(programFolder)), m_streams(streams)
{}

namespace {

// A shell user names folders relative to where they are; the run needs the
// full path, since it climbs the output path to create its folders.
std::string absoluteDirectory(const std::string& directory)
{
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::absolute(directory, error);
    return error ? directory : absolute.lexically_normal().string();
}

} // namespace

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
    SharedState state = SharedState::forProgramFolder(m_programFolder);
    state.UseStandardTemplate = !options->UserTemplate;
    TerminalWindow window(*options, m_streams);
    Relocation relocation(window, m_fileSystem, state);
    const Relocation::Outcome outcome = relocation.run();

    if (outcome == Relocation::Outcome::Done) {
        m_streams.out << window.status() << '\n';
        return Done;
    }
    if (window.status() == Relocation::AbortedStatus)
        m_streams.err << window.status() << '\n';
    return outcome == Relocation::Outcome::Refused ? Refused : RunFailed;
}
