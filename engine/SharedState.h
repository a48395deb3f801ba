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

    // Both templates beside the program, in its own folder.
    static SharedState forProgramFolder(const std::string& programFolder);

    // As forProgramFolder, but when the program folder is not writable (an
    // installed copy), the user template lives in the user's data folder,
    // seeded with the program folder's copy the first time. Failing to seed
    // it is not fatal: the editor reports the missing file when it opens.
    static SharedState forInstallation(const std::string& programFolder,
                                       const std::string& userDataFolder, FileSystem& fileSystem);
};
