#include "clsDateiString.h"

#include "EngineError.h"
#include "FileSystem.h"

clsDateiString::clsDateiString(FileSystem& fileSystem) : m_fileSystem(fileSystem) {}

void clsDateiString::CreatePfad(const std::string& strPfad)
{
    // The empty folder part is the root of an absolute path, which exists.
    if (strPfad.empty() || m_fileSystem.FolderExists(strPfad))
        return;
    CreatePfad(GetPfad(strPfad));
    m_fileSystem.CreateFolder(strPfad);
}

std::string clsDateiString::GetPfad(const std::string& strPfadUndDatei) const
{
    const std::string name = GetDatei(strPfadUndDatei);
    return strPfadUndDatei.substr(0, strPfadUndDatei.size() - name.size() - 1);
}

std::string clsDateiString::GetDatei(const std::string& strPfadUndDatei) const
{
    return GetTextNachTrenner(strPfadUndDatei, PathSeparator);
}

std::string clsDateiString::GetTextNachTrenner(const std::string& text, char separator)
{
    const std::size_t position = text.rfind(separator);
    if (position == std::string::npos)
        throw EngineError(EngineError::Kind::InvalidArgument,
                          "Pfad ohne Trennzeichen \"" + std::string(1, separator) + "\": " + text);
    return text.substr(position + 1);
}
