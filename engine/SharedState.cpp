#include "SharedState.h"

#include "EngineError.h"
#include "FileSystem.h"
#include "clsDateiString.h"

SharedState SharedState::forProgramFolder(const std::string& programFolder)
{
    SharedState state;
    state.UseStandardTemplate = true;
    state.StandardTemplatePath = programFolder + PathSeparator + "default.htm";
    state.UserTemplatePath = programFolder + PathSeparator + "benutzer.htm";
    return state;
}

SharedState SharedState::forInstallation(const std::string& programFolder,
                                         const std::string& userDataFolder, FileSystem& fileSystem)
{
    SharedState state = forProgramFolder(programFolder);
    if (fileSystem.FolderWritable(programFolder))
        return state;

    const std::string shippedTemplate = state.UserTemplatePath;
    state.UserTemplatePath = userDataFolder + PathSeparator + "benutzer.htm";
    try {
        clsDateiString(fileSystem).CreatePfad(userDataFolder);
        if (!fileSystem.FileExists(state.UserTemplatePath))
            fileSystem.WriteFile(state.UserTemplatePath, fileSystem.ReadAll(shippedTemplate));
    } catch (const EngineError&) {
        // The editor names the file and the reason when it cannot open it.
    }
    return state;
}
