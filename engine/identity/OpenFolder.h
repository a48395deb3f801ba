#pragma once

#include "FileIdentity.h"

#include <string>
#include <string_view>
#include <vector>

// A folder held open, so that whatever is later done to the path that named
// it, files are written into this very folder. Files are reached by name
// only, never through a link, and written atomically: a temporary file
// beside the target, renamed over it. Failures throw EngineError of kind
// FileSystem.
class OpenFolder
{
public:
    enum class Entry
    {
        Missing,
        RegularFile,
        // A folder, link, device, FIFO or socket: nothing a file may replace.
        Other
    };

    virtual ~OpenFolder() = default;

    // The path it was opened by, for messages.
    virtual const std::string& path() const = 0;
    virtual FileIdentity identity() const = 0;
    // This folder and every folder above it up to the root, this one first.
    virtual std::vector<FileIdentity> ancestry() = 0;
    // What the entry of that name is, links not followed.
    virtual Entry entry(const std::string& name) = 0;
    // Creates or replaces a regular file of that name; refuses when the entry
    // is anything else. The temporary file is named after the target (see
    // TemporaryName::besideTarget), so that a later run can remove what a
    // killed one left.
    virtual void writeFile(const std::string& name, std::string_view bytes) = 0;
    // Removes temporary files that an earlier, killed run left for a file of
    // one of these names.
    virtual void removeStaleTemporaries(const std::vector<std::string>& names) = 0;

    // Whether the identity is this folder's or one above it.
    bool liesIn(const FileIdentity& folder) { return contains(ancestry(), folder); }
    static bool contains(const std::vector<FileIdentity>& identities, const FileIdentity& wanted);
};
