#pragma once

#include "RegistryAccess.h"

#include <QString>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

// Finds and starts the system's system-information tool for the about box.
// Two registry values name it: the first gives the tool's full path, the
// second a folder that must hold the tool's file. On Windows these are read
// from the registry; elsewhere a stand-in answers them from the
// system-information programs found on PATH.
class SysInfoStarter
{
public:
    using FileExists = std::function<bool(const QString& path)>;
    // Starts the program as a process of its own; false when it could not.
    using StartProcess = std::function<bool(const QString& path)>;

    static constexpr const char* PathKey = "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
    static constexpr const char* PathValue = "PATH";
    static constexpr const char* FolderKey = "SOFTWARE\\Microsoft\\Shared Tools Location";
    static constexpr const char* FolderValue = "MSINFO";

    // The real registry (or its stand-in), file test and process start.
    SysInfoStarter();
    // toolFileName is appended to the folder of the second value, separator
    // first (e.g. "\MSINFO32.EXE").
    SysInfoStarter(RegistryAccess& registry, QString toolFileName, FileExists fileExists,
                   StartProcess startProcess);
    ~SysInfoStarter();

    SysInfoStarter(const SysInfoStarter&) = delete;
    SysInfoStarter& operator=(const SysInfoStarter&) = delete;

    // Starts the tool and leaves it running; false when there is none or it
    // could not be started, which the caller reports.
    bool StartSysInfo();

    // Reads one value as text into KeyVal; true when it was read. Throws
    // std::runtime_error for a value that fills the whole buffer without a
    // terminating zero.
    static bool GetKeyValue(RegistryAccess& registry, std::uint32_t KeyRoot,
                            const std::string& KeyName, const std::string& SubKeyRef,
                            QString& KeyVal);

private:
    std::unique_ptr<RegistryAccess> m_ownRegistry;
    RegistryAccess& m_registry;
    std::function<QString()> m_toolFileName;
    FileExists m_fileExists;
    StartProcess m_startProcess;
};
