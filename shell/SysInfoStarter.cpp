#include "SysInfoStarter.h"

#include <algorithm>
#include <array>
#include <stdexcept>

namespace {

// Closes an opened key on every way out, a thrown error included.
class OpenKey
{
public:
    OpenKey(RegistryAccess& registry, RegistryAccess::Handle key) : m_registry(registry), m_key(key)
    {}
    ~OpenKey() { m_registry.CloseKey(m_key); }
    OpenKey(const OpenKey&) = delete;
    OpenKey& operator=(const OpenKey&) = delete;

private:
    RegistryAccess& m_registry;
    RegistryAccess::Handle m_key;
};

// A 32-bit number value is stored little-endian; shown as decimal text.
QString numberText(const std::array<char, 1024>& buffer)
{
    std::uint32_t value = 0;
    for (int byte = 3; byte >= 0; --byte)
        value = (value << 8) | static_cast<unsigned char>(buffer[static_cast<std::size_t>(byte)]);
    return QString::number(value);
}

} // namespace

SysInfoStarter::SysInfoStarter(RegistryAccess& registry, QString toolFileName,
                               FileExists fileExists, StartProcess startProcess)
    : m_registry(registry), m_toolFileName([toolFileName] { return toolFileName; }),
      m_fileExists(std::move(fileExists)), m_startProcess(std::move(startProcess))
{}

SysInfoStarter::~SysInfoStarter() = default;

bool SysInfoStarter::StartSysInfo()
{
    // Any failure on the way means the tool is unavailable.
    try {
        QString path;
        if (GetKeyValue(m_registry, RegistryAccess::LocalMachine, PathKey, PathValue, path))
            return m_startProcess(path);
        if (GetKeyValue(m_registry, RegistryAccess::LocalMachine, FolderKey, FolderValue, path)) {
            const QString tool = path + m_toolFileName();
            if (m_fileExists(tool))
                return m_startProcess(tool);
        }
    } catch (const std::exception&) {
    }
    return false;
}

bool SysInfoStarter::GetKeyValue(RegistryAccess& registry, std::uint32_t KeyRoot,
                                 const std::string& KeyName, const std::string& SubKeyRef,
                                 QString& KeyVal)
{
    RegistryAccess::Handle key = 0;
    if (registry.OpenKey(KeyRoot, KeyName, RegistryAccess::AllAccess, key) !=
        RegistryAccess::Success) {
        KeyVal.clear();
        return false;
    }
    const OpenKey closer(registry, key);

    std::array<char, 1024> buffer{};
    auto size = static_cast<std::uint32_t>(buffer.size());
    std::uint32_t type = 0;
    if (registry.QueryValue(key, SubKeyRef, type, buffer.data(), size) != RegistryAccess::Success) {
        KeyVal.clear();
        return false;
    }
    const auto end = std::find(buffer.begin(), buffer.end(), '\0');
    if (end == buffer.end())
        throw std::runtime_error("registry value without terminating zero: " + SubKeyRef);

    switch (type) {
    case RegistryAccess::StringValue:
        KeyVal = QString::fromLocal8Bit(buffer.data(), end - buffer.begin());
        break;
    case RegistryAccess::NumberValue:
        KeyVal = numberText(buffer);
        break;
    default:
        // Other kinds of value count as read, but leave the text as it was.
        break;
    }
    return true;
}
