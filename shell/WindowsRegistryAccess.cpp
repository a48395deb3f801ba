#ifdef _WIN32

#include "WindowsRegistryAccess.h"

#include <windows.h>

namespace {

// The predefined root handles are sign-extended 32-bit constants.
HKEY rootHandle(std::uint32_t root)
{
    return reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(static_cast<LONG>(root)));
}

HKEY keyHandle(RegistryAccess::Handle key)
{
    return reinterpret_cast<HKEY>(key);
}

} // namespace

long WindowsRegistryAccess::OpenKey(std::uint32_t root, const std::string& keyName,
                                    std::uint32_t access, Handle& key)
{
    HKEY opened = nullptr;
    const LONG result = RegOpenKeyExA(rootHandle(root), keyName.c_str(), 0, access, &opened);
    if (result == ERROR_SUCCESS)
        key = reinterpret_cast<Handle>(opened);
    return result;
}

long WindowsRegistryAccess::QueryValue(Handle key, const std::string& valueName,
                                       std::uint32_t& type, char* data, std::uint32_t& size)
{
    DWORD valueType = 0;
    DWORD valueSize = size;
    const LONG result = RegQueryValueExA(keyHandle(key), valueName.c_str(), nullptr, &valueType,
                                         reinterpret_cast<LPBYTE>(data), &valueSize);
    type = valueType;
    size = valueSize;
    return result;
}

long WindowsRegistryAccess::CloseKey(Handle key)
{
    return RegCloseKey(keyHandle(key));
}

#endif
