#ifdef _WIN32

#include "WindowsHandle.h"

#include "NativePath.h"

#include <utility>
#include <windows.h>

WindowsHandle::~WindowsHandle()
{
    if (valid())
        CloseHandle(m_handle);
}

WindowsHandle::WindowsHandle(WindowsHandle&& other) noexcept
    : m_handle(std::exchange(other.m_handle, nullptr))
{}

WindowsHandle& WindowsHandle::operator=(WindowsHandle&& other) noexcept
{
    if (this != &other) {
        if (valid())
            CloseHandle(m_handle);
        m_handle = std::exchange(other.m_handle, nullptr);
    }
    return *this;
}

bool WindowsHandle::valid() const
{
    return m_handle != nullptr && m_handle != INVALID_HANDLE_VALUE;
}

WindowsHandle WindowsHandle::openForIdentity(const std::string& path, bool noFollow)
{
    std::wstring wide;
    if (path.empty() || !toWideText(path, wide))
        return WindowsHandle();
    const DWORD flags = FILE_FLAG_BACKUP_SEMANTICS | (noFollow ? FILE_FLAG_OPEN_REPARSE_POINT : 0);
    return WindowsHandle(CreateFileW(wide.c_str(), 0,
                                     FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                     nullptr, OPEN_EXISTING, flags, nullptr));
}

std::optional<FileIdentity> WindowsHandle::identity() const
{
    BY_HANDLE_FILE_INFORMATION information;
    if (!valid() || !GetFileInformationByHandle(m_handle, &information))
        return std::nullopt;
    return FileIdentity{information.dwVolumeSerialNumber,
                        (static_cast<std::uint64_t>(information.nFileIndexHigh) << 32) |
                            information.nFileIndexLow};
}

unsigned long WindowsHandle::attributes() const
{
    BY_HANDLE_FILE_INFORMATION information;
    if (!valid() || !GetFileInformationByHandle(m_handle, &information))
        return INVALID_FILE_ATTRIBUTES;
    return information.dwFileAttributes;
}

#endif
