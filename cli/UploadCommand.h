#pragma once

#include "SiteUpload.h"
#include "TerminalWindow.h"

class FileSystem;
struct CommandLine;

// kelvane-cli --upload: DIR_Moved to the remote folder, with the password
// from the environment or the terminal and progress on a terminal.
class UploadCommand
{
public:
    UploadCommand(FileSystem& fileSystem, TerminalWindow::Streams streams);

    // The exit status: 0 all arrived, 1 refused, 3 files failed or stopped.
    int run(const CommandLine& options);

private:
    RemoteSession::Access accessFor(const CommandLine& options, const UploadTarget& target);
    bool needsPassword(const CommandLine& options, const UploadTarget& target) const;
    int finish(const SiteUpload::Result& result, const CommandLine& options,
               const UploadTarget& target);
    void explainUntrusted(const SiteUpload::Result& result, const UploadTarget& target);

    FileSystem& m_fileSystem;
    TerminalWindow::Streams m_streams;
};
