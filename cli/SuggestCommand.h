#pragma once

#include "CommandLine.h"
#include "SharedState.h"
#include "TerminalWindow.h"

class FileSystem;

// kelvane-cli --suggest-map: plans the pages as a dry run would, suggests a
// new address for each and writes the mapping file.
class SuggestCommand
{
public:
    SuggestCommand(FileSystem& fileSystem, const SharedState& state,
                   TerminalWindow::Streams streams)
        : m_fileSystem(fileSystem), m_state(state), m_streams(streams)
    {}

    // The exit status of CliApplication.
    int run(const CommandLine& options);

private:
    FileSystem& m_fileSystem;
    const SharedState& m_state;
    TerminalWindow::Streams m_streams;
};
