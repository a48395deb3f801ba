#include "TypedPath.h"

#include "FileSystem.h"
#include "NativePath.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace {

TEST(TypedPath, ResolvesOnlyWhatIsRelative)
{
    const std::string current = fromNativePath(std::filesystem::current_path());
    const std::string S(1, PathSeparator);
    const std::pair<std::string, std::string> cases[] = {
        {"", ""},
        {"site", current + S + "site"},
#ifdef _WIN32
        {"C:\\site\\", "C:\\site\\"},
        {"C:/site/x", "C:\\site\\x"},
        {"X:", "X:"},
        {"\\site", "\\site"},
        {"\\\\server\\share\\site", "\\\\server\\share\\site"},
        {"//server/share", "\\\\server\\share"},
        {"\\\\?\\C:\\site/x", "\\\\?\\C:\\site/x"},
#else
        {"/srv/site/", "/srv/site/"},
        {"./site/../x", current + "/x"},
#endif
    };
    for (const auto& [typed, resolved] : cases)
        EXPECT_EQ(TypedPath::resolve(typed), resolved) << typed;
}

} // namespace
