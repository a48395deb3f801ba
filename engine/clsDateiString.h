#pragma once

#include <string>

class FileSystem;

// Splits full paths at the last separator and creates folder paths.
class clsDateiString
{
public:
    explicit clsDateiString(FileSystem& fileSystem);

    // Makes sure the folder exists, creating missing levels from the top down.
    void CreatePfad(const std::string& strPfad);
    // Everything before the last separator. Throws InvalidArgument without one.
    std::string GetPfad(const std::string& strPfadUndDatei) const;
    // Everything after the last separator. Throws InvalidArgument without one.
    std::string GetDatei(const std::string& strPfadUndDatei) const;

private:
    static std::string GetTextNachTrenner(const std::string& text, char separator);

    FileSystem& m_fileSystem;
};
