#include "CliApplication.h"
#include "SuggestCommand.h"

#include <ostream>

// Debian has neither libcurl nor libgumbo for mingw: the Windows cross build
// suggests nothing.
int SuggestCommand::run(const CommandLine&)
{
    m_streams.err << "kelvane-cli: --suggest-map gibt es in diesem Build nicht (ohne libcurl "
                     "und libgumbo).\n";
    return CliApplication::RunFailed;
}
