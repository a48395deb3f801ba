#pragma once

#include "OutputFiles.h"
#include "Relocation.h"
#include "SharedState.h"
#include "TerminalWindow.h"

#include <string>
#include <vector>

class FileSystem;

// kelvane-cli from its arguments to its exit status, with the program folder
// and the streams handed in so that tests can run it in-process.
class CliApplication
{
public:
    enum ExitStatus
    {
        Done = 0,
        Refused = 1,
        WrongUsage = 2,
        RunFailed = 3,
        NotEveryPageArrives = 4
    };

    // state: where the templates are; the run's template choice comes from
    // the command line.
    CliApplication(FileSystem& fileSystem, SharedState state, TerminalWindow::Streams streams);

    int run(const std::vector<std::string>& arguments);

private:
    int relocate(const CommandLine& options);
    bool liesInTrees(const CommandLine& options, const std::string& path);
    int check(const CommandLine& options);
    std::string reportRefusal(const CommandLine& options, OutputFiles& report);
    bool showWritten(const OutputFiles::Result& written);
    static RelocationInputs inputsOf(const CommandLine& options);
    int refusal(const Relocation& relocation, Relocation::Outcome outcome,
                const TerminalWindow& window);
    void warnUnmapped(const Relocation& relocation);
    void warnCaseTwins(const Relocation& relocation);
    int reportOutcome(const CommandLine& options, const Relocation& relocation,
                      Relocation::Outcome outcome, const TerminalWindow& window);

    FileSystem& m_fileSystem;
    SharedState m_state;
    TerminalWindow::Streams m_streams;
};
