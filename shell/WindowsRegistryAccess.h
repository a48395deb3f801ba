#pragma once

#ifdef _WIN32

#include "RegistryAccess.h"

// The Windows registry through advapi32's byte-string (ANSI) functions.
class WindowsRegistryAccess final : public RegistryAccess
{
public:
    long OpenKey(std::uint32_t root, const std::string& keyName, std::uint32_t access,
                 Handle& key) override;
    long QueryValue(Handle key, const std::string& valueName, std::uint32_t& type, char* data,
                    std::uint32_t& size) override;
    long CloseKey(Handle key) override;
};

#endif
