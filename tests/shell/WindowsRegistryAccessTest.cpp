#ifdef _WIN32

#include "WindowsRegistryAccess.h"

#include <algorithm>
#include <array>
#include <gtest/gtest.h>

namespace {

using R = RegistryAccess;

constexpr const char* Key = "Software\\Kelvane Tests\\Registry";

struct Answer
{
    long result = 0;
    std::uint32_t type = 0;
    std::uint32_t size = 0;
    std::string data;
};

// One value as the system-information look-up reads it: the key opened with
// its access mask, a buffer of 1024 bytes, the key closed again.
Answer read(const std::string& key, const std::string& value)
{
    WindowsRegistryAccess registry;
    R::Handle handle = 0;
    Answer answer;
    answer.result = registry.OpenKey(R::LocalMachine, key, R::AllAccess, handle);
    if (answer.result != R::Success)
        return answer;
    std::array<char, 1024> buffer{};
    answer.size = buffer.size();
    answer.result = registry.QueryValue(handle, value, answer.type, buffer.data(), answer.size);
    if (answer.result == R::Success)
        answer.data.assign(buffer.data(), answer.size);
    EXPECT_EQ(registry.CloseKey(handle), R::Success);
    return answer;
}

// The values come from add_registry_values.sh; the look-up's own tests use a
// fake registry that answers the same way.
TEST(WindowsRegistry, AnswersAsTheSystemInformationLookUpExpects)
{
    struct Case
    {
        const char* key;
        const char* value;
        long result;
        std::uint32_t type;
        std::uint32_t size;
        std::string data;
    };
    const Case cases[] = {
        // a string, in the ANSI code page, with its zero byte
        {Key, "Text", R::Success, R::StringValue, 32,
         std::string("C:\\Programme\\Gr\xF6\xDF"
                     "e\\msinfo32.exe",
                     31) +
             '\0'},
        {Key, "Number", R::Success, R::NumberValue, 4, std::string("\x01\0\x01\0", 4)},
        {Key, "Fits", R::Success, R::StringValue, 1024, std::string(1023, 'b') + '\0'},
        {Key, "Long", R::MoreData, R::StringValue, 1101, ""},
        // fills the buffer without a zero byte, which the look-up refuses
        {Key, "NoZero", 0, 3, 1024, std::string(1024, 'A')},
        {Key, "Fehlt", R::NotFound, 0, 1024, ""},
        {"Software\\Kelvane Tests\\Fehlt", "PATH", R::NotFound, 0, 0, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.key) + " " + c.value);
        const Answer answer = read(c.key, c.value);
        EXPECT_EQ(answer.result, c.result);
        EXPECT_EQ(answer.type, c.type);
        EXPECT_EQ(answer.size, c.size);
        EXPECT_EQ(answer.data, c.data);
    }
}

} // namespace

#endif
