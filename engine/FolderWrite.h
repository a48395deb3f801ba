#pragma once

#include <functional>
#include <string>
#include <string_view>

// A file written into a folder held open by its descriptor, the way every
// file of a run is written: under a fresh temporary name that follows no
// link, then renamed over the target, so that the target is whole or as it
// was. A failure removes the temporary file and throws the EngineError that
// names shownPath.
struct FolderWrite
{
    int Folder = -1;
    std::string Name;
    // The path the user is shown in a message.
    std::string ShownPath;
    // A new temporary name for each attempt.
    std::function<std::string()> TemporaryName;
    // Called after the bytes are written, just before the rename; it may throw
    // to refuse the rename.
    std::function<void()> BeforeRename;
    // Flushes the file and the folder: a file written after the run's one
    // flush makes itself durable.
    bool Durable = false;

    void write(std::string_view bytes) const;
};
