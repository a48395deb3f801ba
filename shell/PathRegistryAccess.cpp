#include "PathRegistryAccess.h"

#include "SysInfoStarter.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <cstring>

QStringList PathRegistryAccess::defaultPrograms()
{
    return {QStringLiteral("gnome-system-monitor"), QStringLiteral("kinfocenter"),
            QStringLiteral("hardinfo"), QStringLiteral("hardinfo2")};
}

PathRegistryAccess::PathRegistryAccess(QStringList programs, QStringList searchPaths)
    : m_programs(std::move(programs)), m_searchPaths(std::move(searchPaths))
{}

long PathRegistryAccess::OpenKey(std::uint32_t root, const std::string& keyName,
                                 std::uint32_t /*access*/, Handle& key)
{
    const QString program = findProgram();
    if (root != LocalMachine || program.isEmpty())
        return NotFound;
    std::pair<std::string, QByteArray> value;
    if (keyName == SysInfoStarter::PathKey)
        value = {SysInfoStarter::PathValue, QDir::toNativeSeparators(program).toLocal8Bit()};
    else if (keyName == SysInfoStarter::FolderKey)
        value = {SysInfoStarter::FolderValue,
                 QDir::toNativeSeparators(QFileInfo(program).absolutePath()).toLocal8Bit()};
    else
        return NotFound;
    key = m_nextHandle++;
    m_openKeys[key] = std::move(value);
    return Success;
}

long PathRegistryAccess::QueryValue(Handle key, const std::string& valueName, std::uint32_t& type,
                                    char* data, std::uint32_t& size)
{
    const auto open = m_openKeys.find(key);
    if (open == m_openKeys.end() || open->second.first != valueName)
        return NotFound;
    // Stored as the registry stores text: with a terminating zero.
    const QByteArray& text = open->second.second;
    const auto needed = static_cast<std::uint32_t>(text.size() + 1);
    type = StringValue;
    if (needed > size) {
        size = needed;
        return MoreData;
    }
    std::memcpy(data, text.constData(), text.size());
    data[text.size()] = '\0';
    size = needed;
    return Success;
}

long PathRegistryAccess::CloseKey(Handle key)
{
    return m_openKeys.erase(key) == 1 ? Success : NotFound;
}

QString PathRegistryAccess::toolFileName() const
{
    const QString program = findProgram();
    return program.isEmpty() ? QString() : QDir::separator() + QFileInfo(program).fileName();
}

QString PathRegistryAccess::findProgram() const
{
    for (const QString& program : m_programs) {
        const QString found = QStandardPaths::findExecutable(program, m_searchPaths);
        if (!found.isEmpty())
            return found;
    }
    return {};
}
