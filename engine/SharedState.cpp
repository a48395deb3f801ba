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

    state.ShippedUserTemplatePath = state.UserTemplatePath;
    state.UserTemplatePath = userDataFolder + PathSeparator + "benutzer.htm";
    return state;
}

void SharedState::seedUserTemplate(FileSystem& fileSystem) const
{
    if (ShippedUserTemplatePath.empty() || fileSystem.FileExists(UserTemplatePath))
        return;
    try {
        const std::string folder =
            UserTemplatePath.substr(0, UserTemplatePath.rfind(PathSeparator));
        clsDateiString(fileSystem).CreatePfad(folder);
        fileSystem.WriteFile(UserTemplatePath, fileSystem.ReadAll(ShippedUserTemplatePath));
    } catch (const EngineError&) {
        // The editor and the run name the file and the reason.
    }
}
