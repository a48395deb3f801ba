#include "SharedState.h"

#include "FileSystem.h"

SharedState SharedState::forProgramFolder(const std::string& programFolder)
{
    SharedState state;
    state.UseStandardTemplate = true;
    state.StandardTemplatePath = programFolder + PathSeparator + "default.htm";
    state.UserTemplatePath = programFolder + PathSeparator + "benutzer.htm";
    return state;
}
