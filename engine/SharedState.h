#pragma once

#include <string>

class FileSystem;

// The state the whole program shares from its start: which template the run
// uses and where the two template files are.
struct SharedState
{
    bool UseStandardTemplate = true;
    std::string StandardTemplatePath;
    std::string UserTemplatePath;
    // Where the user template comes from the first time, when it lives in
    // the data folder; empty when it lies beside the program.
    std::string ShippedUserTemplatePath;

    // Both templates beside the program, in its own folder.
    static SharedState forProgramFolder(const std::string& programFolder);

    // As forProgramFolder, but when the program folder is not writable (an
    // installed copy), the user template lives in the user's data folder.
    // Writes nothing: a call that only lists, checks or helps leaves no trace.
    static SharedState forInstallation(const std::string& programFolder,
                                       const std::string& userDataFolder, FileSystem& fileSystem);

    // Copies the shipped user template into the data folder unless one is
    // there, for the editor to change. Failing is not fatal: the editor names
    // the missing file; a run takes the shipped one until a copy exists.
    void seedUserTemplate(FileSystem& fileSystem) const;
};
