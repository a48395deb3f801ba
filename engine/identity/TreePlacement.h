#pragma once

#include <memory>
#include <string>

class FileSystem;
class OpenFolder;

// Where the output tree and the run's other files may lie, so that the old
// site is never written to. Folders are compared by what they are, not by
// how their paths are spelled: neither a link, a bind mount, letter case, a
// device path nor a share leads around the test.
class TreePlacement
{
public:
    // Why nothing may be written into base directory + "_Moved", or the empty
    // text when it may: the output root is a link or a file, or really is the
    // base directory, lies inside it or above it. shownBase is the directory
    // as the user typed it, for the message.
    static std::string outputRootRefusal(FileSystem& fileSystem, const std::string& baseDirectory,
                                         const std::string& shownBase);

    // Whether a file in the folder would lie in the base directory or the
    // output root, or inside one of them.
    static bool liesInTrees(FileSystem& fileSystem, OpenFolder& folder,
                            const std::string& baseDirectory);

    // The folder a file of that path lies in, and the file's name.
    static std::string folderOf(const std::string& path);
    static std::string nameOf(const std::string& path);
};
