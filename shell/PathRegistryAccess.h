#pragma once

#include "RegistryAccess.h"

#include <QString>
#include <QStringList>
#include <map>
#include <utility>

// Stands in for the registry where there is none: the two values that name
// the system-information tool are answered from the first system-information
// program found on PATH. The tool's value holds that program's full path, the
// folder value the folder it lies in; every other key is missing.
class PathRegistryAccess final : public RegistryAccess
{
public:
    static QStringList defaultPrograms();

    // searchPaths empty: the folders of the PATH variable.
    explicit PathRegistryAccess(QStringList programs = defaultPrograms(),
                                QStringList searchPaths = {});

    long OpenKey(std::uint32_t root, const std::string& keyName, std::uint32_t access,
                 Handle& key) override;
    long QueryValue(Handle key, const std::string& valueName, std::uint32_t& type, char* data,
                    std::uint32_t& size) override;
    long CloseKey(Handle key) override;

    // The separator and file name of the program found, to be appended to
    // the folder value; the empty text when none was found.
    QString toolFileName() const;

private:
    QString findProgram() const;

    QStringList m_programs;
    QStringList m_searchPaths;
    // The one value each open key holds: its name and its text.
    std::map<Handle, std::pair<std::string, QByteArray>> m_openKeys;
    Handle m_nextHandle = 1;
};
