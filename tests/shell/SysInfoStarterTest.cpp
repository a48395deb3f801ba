#include "SysInfoStarter.h"

#include "PathRegistryAccess.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstring>
#include <gtest/gtest.h>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

// A registry held in memory, which checks that every opened key is closed.
class FakeRegistry final : public RegistryAccess
{
public:
    struct Value
    {
        std::uint32_t type;
        std::string bytes;
    };

    void addKey(const std::string& key) { m_values[key]; }
    void addValue(const std::string& key, const std::string& name, std::uint32_t type,
                  std::string bytes)
    {
        m_values[key][name] = {type, std::move(bytes)};
    }

    long OpenKey(std::uint32_t root, const std::string& keyName, std::uint32_t access,
                 Handle& key) override
    {
        if (root != LocalMachine || access != AllAccess || !m_values.count(keyName))
            return NotFound;
        m_open.push_back(keyName);
        key = m_open.size();
        return Success;
    }

    long QueryValue(Handle key, const std::string& valueName, std::uint32_t& type, char* data,
                    std::uint32_t& size) override
    {
        const auto& values = m_values.at(m_open.at(key - 1));
        const auto value = values.find(valueName);
        if (value == values.end())
            return NotFound;
        type = value->second.type;
        if (value->second.bytes.size() > size)
            return MoreData;
        std::memcpy(data, value->second.bytes.data(), value->second.bytes.size());
        size = static_cast<std::uint32_t>(value->second.bytes.size());
        return Success;
    }

    long CloseKey(Handle key) override
    {
        ++closed;
        EXPECT_LE(key, m_open.size());
        return Success;
    }

    int opened() const { return static_cast<int>(m_open.size()); }
    int closed = 0;

private:
    std::map<std::string, std::map<std::string, Value>> m_values;
    std::vector<std::string> m_open;
};

const std::string PathKey = SysInfoStarter::PathKey;
const std::string FolderKey = SysInfoStarter::FolderKey;

std::string withZero(const std::string& text)
{
    return text + '\0';
}

struct StartCase
{
    const char* name;
    void (*fill)(FakeRegistry&);
    bool toolFileExists;
    bool startSucceeds;
    const char* expectedStart; // nullptr: nothing is started
    bool expectedResult;
};

const StartCase StartCases[] = {
    {"path value is started even when its file is missing",
     [](FakeRegistry& r) { r.addValue(PathKey, "PATH", 1, withZero("C:\\Tools\\info.exe")); },
     false, true, "C:\\Tools\\info.exe", true},
    {"path value that cannot be started is unavailable",
     [](FakeRegistry& r) { r.addValue(PathKey, "PATH", 1, withZero("C:\\Fehlt\\info.exe")); },
     false, false, "C:\\Fehlt\\info.exe", false},
    {"folder value with the tool in it",
     [](FakeRegistry& r) { r.addValue(FolderKey, "MSINFO", 1, withZero("C:\\Shared")); }, true,
     true, "C:\\Shared\\MSINFO32.EXE", true},
    {"folder value without the tool",
     [](FakeRegistry& r) { r.addValue(FolderKey, "MSINFO", 1, withZero("C:\\Shared")); }, false,
     true, nullptr, false},
    {"neither value", [](FakeRegistry&) {}, true, true, nullptr, false},
    {"path key without the value falls back to the folder",
     [](FakeRegistry& r) {
         r.addKey(PathKey);
         r.addValue(FolderKey, "MSINFO", 1, withZero("D:\\Info"));
     },
     true, true, "D:\\Info\\MSINFO32.EXE", true},
    {"path value larger than the buffer counts as missing",
     [](FakeRegistry& r) {
         r.addValue(PathKey, "PATH", 1, withZero(std::string(1024, 'x')));
         r.addValue(FolderKey, "MSINFO", 1, withZero("D:\\Info"));
     },
     true, true, "D:\\Info\\MSINFO32.EXE", true},
    {"number value is started as its decimal text",
     [](FakeRegistry& r) { r.addValue(PathKey, "PATH", 4, std::string("\x02\x01\0\0", 4)); }, true,
     true, "258", true},
    {"value of another type starts the empty path",
     [](FakeRegistry& r) { r.addValue(PathKey, "PATH", 3, std::string("\x01\x02", 2)); }, true,
     false, "", false},
    {"buffer filled without a zero byte ends the command",
     [](FakeRegistry& r) {
         r.addValue(PathKey, "PATH", 1, std::string(1024, 'x'));
         r.addValue(FolderKey, "MSINFO", 1, withZero("D:\\Info"));
     },
     true, true, nullptr, false},
};

class StartSysInfoTest : public ::testing::TestWithParam<StartCase>
{
};

TEST_P(StartSysInfoTest, DecidesWhatToStart)
{
    const StartCase& c = GetParam();
    FakeRegistry registry;
    c.fill(registry);
    std::vector<QString> tested;
    std::vector<QString> started;
    SysInfoStarter starter(
        registry, QStringLiteral("\\MSINFO32.EXE"),
        [&](const QString& path) {
            tested.push_back(path);
            return c.toolFileExists;
        },
        [&](const QString& path) {
            started.push_back(path);
            return c.startSucceeds;
        });

    EXPECT_EQ(starter.StartSysInfo(), c.expectedResult);
    if (c.expectedStart) {
        ASSERT_EQ(started.size(), 1u);
        EXPECT_EQ(started[0], QString::fromUtf8(c.expectedStart));
    } else {
        EXPECT_TRUE(started.empty());
    }
    EXPECT_EQ(registry.closed, registry.opened());
}

INSTANTIATE_TEST_SUITE_P(Cases, StartSysInfoTest, ::testing::ValuesIn(StartCases),
                         [](const auto& info) {
                             std::string name = info.param.name;
                             for (char& c : name)
                                 c = std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
                             return name;
                         });

TEST(GetKeyValueTest, ReadsTextAndNumbersAndLeavesOtherTypesAlone)
{
    FakeRegistry registry;
    registry.addValue("K", "text", 1, withZero("Wert") + "Rest");
    registry.addValue("K", "number", 4, std::string("\x01\0\x01\0", 4));
    registry.addValue("K", "binary", 3, "\x05\x06");
    registry.addValue("K", "longest", 1, withZero(std::string(1023, 'a')));

    QString value = QStringLiteral("vorher");
    EXPECT_TRUE(
        SysInfoStarter::GetKeyValue(registry, RegistryAccess::LocalMachine, "K", "text", value));
    EXPECT_EQ(value, QStringLiteral("Wert"));
    EXPECT_TRUE(
        SysInfoStarter::GetKeyValue(registry, RegistryAccess::LocalMachine, "K", "number", value));
    EXPECT_EQ(value, QStringLiteral("65537"));
    value = QStringLiteral("vorher");
    EXPECT_TRUE(
        SysInfoStarter::GetKeyValue(registry, RegistryAccess::LocalMachine, "K", "binary", value));
    EXPECT_EQ(value, QStringLiteral("vorher"));
    EXPECT_TRUE(
        SysInfoStarter::GetKeyValue(registry, RegistryAccess::LocalMachine, "K", "longest", value));
    EXPECT_EQ(value.size(), 1023);
    EXPECT_EQ(registry.closed, 4);
}

TEST(GetKeyValueTest, MissingKeyOrValueEmptiesTheText)
{
    FakeRegistry registry;
    registry.addKey("K");
    QString value = QStringLiteral("vorher");
    EXPECT_FALSE(SysInfoStarter::GetKeyValue(registry, RegistryAccess::LocalMachine, "Fehlt",
                                             "PATH", value));
    EXPECT_TRUE(value.isEmpty());
    value = QStringLiteral("vorher");
    EXPECT_FALSE(
        SysInfoStarter::GetKeyValue(registry, RegistryAccess::LocalMachine, "K", "PATH", value));
    EXPECT_TRUE(value.isEmpty());
    EXPECT_EQ(registry.closed, 1); // only the key that was opened
}

TEST(GetKeyValueTest, FullBufferWithoutZeroThrowsAndClosesTheKey)
{
    FakeRegistry registry;
    registry.addValue("K", "PATH", 1, std::string(1024, 'x'));
    QString value;
    EXPECT_THROW(
        SysInfoStarter::GetKeyValue(registry, RegistryAccess::LocalMachine, "K", "PATH", value),
        std::runtime_error);
    EXPECT_EQ(registry.closed, 1);
}

// The stand-in for the registry, over a PATH of our own.
class PathRegistryTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(m_folder.isValid()); }

    QString addProgram(const QString& name)
    {
        const QString path = m_folder.filePath(name);
        QFile program(path);
        EXPECT_TRUE(program.open(QIODevice::WriteOnly));
        program.write("#!/bin/sh\n");
        program.close();
        program.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        return path;
    }

    QStringList searchPath() const { return {m_folder.path()}; }
    QString folder() const { return QDir::toNativeSeparators(m_folder.path()); }

private:
    QTemporaryDir m_folder;
};

TEST_F(PathRegistryTest, AnswersBothValuesFromTheFirstProgramFound)
{
    addProgram(QStringLiteral("hardinfo"));
    const QString kinfocenter = addProgram(QStringLiteral("kinfocenter"));
    PathRegistryAccess registry({QStringLiteral("gnome-system-monitor"),
                                 QStringLiteral("kinfocenter"), QStringLiteral("hardinfo")},
                                searchPath());

    QString value;
    ASSERT_TRUE(SysInfoStarter::GetKeyValue(registry, RegistryAccess::LocalMachine, PathKey, "PATH",
                                            value));
    EXPECT_EQ(value, QDir::toNativeSeparators(kinfocenter));
    ASSERT_TRUE(SysInfoStarter::GetKeyValue(registry, RegistryAccess::LocalMachine, FolderKey,
                                            "MSINFO", value));
    EXPECT_EQ(value, folder());
    EXPECT_EQ(registry.toolFileName(), QDir::separator() + QStringLiteral("kinfocenter"));
    EXPECT_FALSE(SysInfoStarter::GetKeyValue(registry, RegistryAccess::LocalMachine,
                                             "SOFTWARE\\Andere", "PATH", value));

    std::vector<QString> started;
    SysInfoStarter starter(
        registry, registry.toolFileName(), [](const QString&) { return true; },
        [&](const QString& path) {
            started.push_back(path);
            return true;
        });
    EXPECT_TRUE(starter.StartSysInfo());
    EXPECT_EQ(started, std::vector<QString>{QDir::toNativeSeparators(kinfocenter)});
}

TEST_F(PathRegistryTest, NoProgramMeansNoKeys)
{
    PathRegistryAccess registry({QStringLiteral("hardinfo")}, searchPath());
    RegistryAccess::Handle key = 0;
    EXPECT_EQ(
        registry.OpenKey(RegistryAccess::LocalMachine, PathKey, RegistryAccess::AllAccess, key),
        RegistryAccess::NotFound);
    EXPECT_TRUE(registry.toolFileName().isEmpty());

    bool startTried = false;
    SysInfoStarter starter(
        registry, registry.toolFileName(), [](const QString&) { return true; },
        [&](const QString&) { return startTried = true; });
    EXPECT_FALSE(starter.StartSysInfo());
    EXPECT_FALSE(startTried);
}

TEST_F(PathRegistryTest, ValueThatDoesNotFitAsksForMoreRoom)
{
    addProgram(QStringLiteral("hardinfo"));
    PathRegistryAccess registry({QStringLiteral("hardinfo")}, searchPath());
    RegistryAccess::Handle key = 0;
    ASSERT_EQ(
        registry.OpenKey(RegistryAccess::LocalMachine, FolderKey, RegistryAccess::AllAccess, key),
        RegistryAccess::Success);
    char small[4] = {};
    std::uint32_t size = sizeof small;
    std::uint32_t type = 0;
    EXPECT_EQ(registry.QueryValue(key, "MSINFO", type, small, size), RegistryAccess::MoreData);
    EXPECT_EQ(size, static_cast<std::uint32_t>(folder().toLocal8Bit().size() + 1));
    EXPECT_EQ(registry.CloseKey(key), RegistryAccess::Success);
}

} // namespace
