#pragma once

#include <string>

class FileSystem;

// Where the output tree and the run's other files may lie, so that the old
// site is never written to: the check follows links, since a link is how a
// write would end up in the old tree.
class TreePlacement
{
public:
    // Why nothing may be written into base directory + "_Moved", or the empty
    // text when it may: the output root is a link, or really is the base
    // directory, lies inside it or above it. shownBase is the directory as
    // the user typed it, for the message.
    static std::string outputRootRefusal(FileSystem& fileSystem, const std::string& baseDirectory,
                                         const std::string& shownBase);

    // Whether the path, links resolved, is the base directory or the output
    // root or lies inside one of them.
    static bool liesInTrees(FileSystem& fileSystem, const std::string& path,
                            const std::string& baseDirectory);
};
