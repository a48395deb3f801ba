#ifdef _WIN32

#include "WindowsRegistryAccess.h"

#include <array>
#include <gtest/gtest.h>
#include <tuple>

namespace {

using R = RegistryAccess;
// The result, the value's type and size, and the bytes read.
using Answer = std::tuple<long, std::uint32_t, std::uint32_t, std::string>;

constexpr const char* Key = "Software\\Kelvane Tests\\Registry";

// One value as the system-information look-up reads it: the key opened with
// its access mask, a buffer of 1024 bytes, the key closed again.
Answer read(const std::string& key, const std::string& value)
{
    WindowsRegistryAccess registry;
    R::Handle handle = 0;
    long result = registry.OpenKey(R::LocalMachine, key, R::AllAccess, handle);
    if (result != R::Success)
        return {result, 0, 0, ""};
    std::array<char, 1024> buffer{};
    std::uint32_t type = 0, size = buffer.size();
    result = registry.QueryValue(handle, value, type, buffer.data(), size);
    EXPECT_EQ(registry.CloseKey(handle), R::Success);
    return {result, type, size, result == R::Success ? std::string(buffer.data(), size) : ""};
}

// The values come from add_registry_values.sh. The look-up's own tests use a
// fake registry, which must answer as this one does.
TEST(WindowsRegistry, AnswersAsTheSystemInformationLookUpExpects)
{
    const std::string text = std::string("C:\\Programme\\Gr\xF6\xDF" // ANSI code page
                                         "e\\msinfo32.exe") +
                             '\0';
    const std::tuple<const char*, const char*, Answer> cases[] = {
        {Key, "Text", {R::Success, R::StringValue, 32, text}},
        {Key, "Number", {R::Success, R::NumberValue, 4, std::string("\x01\0\x01\0", 4)}},
        {Key, "Fits", {R::Success, R::StringValue, 1024, std::string(1023, 'b') + '\0'}},
        {Key, "Long", {R::MoreData, R::StringValue, 1101, ""}},
        // fills the buffer without a zero byte, which the look-up refuses
        {Key, "NoZero", {R::Success, 3, 1024, std::string(1024, 'A')}},
        {Key, "Fehlt", {R::NotFound, 0, 1024, ""}},
        {"Software\\Kelvane Tests\\Fehlt", "PATH", {R::NotFound, 0, 0, ""}},
    };
    for (const auto& [key, value, expected] : cases)
        EXPECT_EQ(read(key, value), expected) << key << ' ' << value;
}

} // namespace

#endif
