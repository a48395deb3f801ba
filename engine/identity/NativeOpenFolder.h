#pragma once

#include "OpenFolder.h"

#include <memory>
#include <random>
#include <string>

#ifdef _WIN32
#include "WindowsHandle.h"
#endif

// A folder of the machine's file system, held open. On POSIX every file is
// reached relative to the folder's descriptor without following a link; on
// Windows, which offers no such call to programs, the folder's path is
// checked to still lead to the held folder before each write.
class NativeOpenFolder : public OpenFolder
{
public:
    // Links on the way to the folder are followed: where it lies is the
    // caller's choice. Throws EngineError when it is no folder.
    static std::unique_ptr<NativeOpenFolder> open(const std::string& path);

#ifdef _WIN32
    NativeOpenFolder(WindowsHandle handle, std::string path);
#else
    // Takes over the descriptor of an open folder.
    NativeOpenFolder(int descriptor, std::string path);
    int descriptor() const
    {
        return m_descriptor;
    }
#endif
    ~NativeOpenFolder() override;
    NativeOpenFolder(const NativeOpenFolder&) = delete;
    NativeOpenFolder& operator=(const NativeOpenFolder&) = delete;

    const std::string& path() const override
    {
        return m_path;
    }
    FileIdentity identity() const override
    {
        return m_identity;
    }
    std::vector<FileIdentity> ancestry() override;
    Entry entry(const std::string& name) override;
    void writeFile(const std::string& name, std::string_view bytes) override;
    void removeStaleTemporaries(const std::vector<std::string>& names) override;

private:
    std::string pathOf(const std::string& name) const;
    std::string temporaryNameFor(const std::string& name);
    void refuseUnlessReplaceable(const std::string& name);

    std::string m_path;
    FileIdentity m_identity;
    std::mt19937_64 m_random;
#ifdef _WIN32
    WindowsHandle m_handle;
    void ensureStillHeld();
#else
    int m_descriptor = -1;
#endif
};
