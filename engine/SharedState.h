#pragma once

#include <string>

// The state the whole program shares from its start: which template the run
// uses and where the two template files are.
struct SharedState
{
    bool UseStandardTemplate = true;
    std::string StandardTemplatePath;
    std::string UserTemplatePath;

    // Both templates beside the program, in its own folder.
    static SharedState forProgramFolder(const std::string& programFolder);
};
