#pragma once

#include <cstdint>
#include <string>

// The three registry calls the system-information look-up makes, as raw as
// the platform offers them: the look-up itself is plain code over this
// interface, so it runs and is tested on every platform. Results are the
// platform's error codes, 0 meaning success; names are byte (ANSI) strings.
class RegistryAccess
{
public:
    using Handle = std::uintptr_t;

    static constexpr std::uint32_t LocalMachine = 0x80000002;
    // Query value, set value, create sub-key, enumerate sub-keys, notify,
    // create link, read control.
    static constexpr std::uint32_t AllAccess = 0x2003F;
    static constexpr std::uint32_t StringValue = 1;
    static constexpr std::uint32_t NumberValue = 4; // 32 bits, little-endian
    static constexpr long Success = 0;
    static constexpr long NotFound = 2;
    static constexpr long MoreData = 234;

    virtual ~RegistryAccess() = default;

    virtual long OpenKey(std::uint32_t root, const std::string& keyName, std::uint32_t access,
                         Handle& key) = 0;
    // Copies the value into data, which holds size bytes, and sets type and
    // size to the value's; a value that does not fit fails with MoreData.
    virtual long QueryValue(Handle key, const std::string& valueName, std::uint32_t& type,
                            char* data, std::uint32_t& size) = 0;
    virtual long CloseKey(Handle key) = 0;
};
