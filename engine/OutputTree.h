#pragma once

#include <string>
#include <string_view>

class OpenFolder;

// The output root, opened for the writing of one run. Folders and pages are
// reached level by level from the root, and no level is ever a link: whatever
// lies outside the root stays as it is, even when someone has placed links in
// the tree. Relative folders are empty for the root itself, otherwise they
// begin with the separator. Failures throw EngineError of kind FileSystem.
class OutputTree
{
public:
    virtual ~OutputTree() = default;

    // Claims the tree for this run; false when another run holds it. The
    // claim ends with the object.
    virtual bool lock() = 0;
    // Makes the folder exist, creating missing levels from the top down, and
    // makes it the folder that pages go into. Temporary files that an earlier,
    // killed run left in it are removed. Fails when a level is a link or no
    // folder.
    virtual void enterFolder(const std::string& relativeFolder) = 0;
    // Creates or replaces the page in the entered folder with exactly these
    // bytes, atomically. A link of that name is replaced, never followed.
    virtual void writePage(const std::string& name, std::string_view bytes) = 0;
    // Makes what was written so far durable on disk.
    virtual void flush() = 0;

    // The root and the folder it lies in, both held open since the tree was
    // opened: the run's extra files go through them, so that a root renamed
    // or replaced during the run cannot send them elsewhere.
    virtual OpenFolder& rootFolder() = 0;
    virtual OpenFolder& parentFolder() = 0;
};
