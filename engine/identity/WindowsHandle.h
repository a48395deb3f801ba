#pragma once

#ifdef _WIN32

#include "FileIdentity.h"

#include <optional>
#include <string>

// One handle of the Win32 API, closed with the object.
class WindowsHandle
{
public:
    WindowsHandle() = default;
    explicit WindowsHandle(void* handle) : m_handle(handle) {}
    ~WindowsHandle();
    WindowsHandle(WindowsHandle&& other) noexcept;
    WindowsHandle& operator=(WindowsHandle&& other) noexcept;
    WindowsHandle(const WindowsHandle&) = delete;
    WindowsHandle& operator=(const WindowsHandle&) = delete;

    // The entry itself, a link or junction not followed when noFollow is
    // set; asks for no access, so that any entry can be opened, also one
    // that others hold.
    static WindowsHandle openForIdentity(const std::string& path, bool noFollow = false);

    bool valid() const;
    void* get() const { return m_handle; }
    // Volume serial number and file index, from GetFileInformationByHandle.
    std::optional<FileIdentity> identity() const;
    // The entry's attributes, or INVALID_FILE_ATTRIBUTES.
    unsigned long attributes() const;

private:
    void* m_handle = nullptr;
};

#endif
