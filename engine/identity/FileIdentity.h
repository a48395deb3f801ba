#pragma once

#include <cstdint>

// A file or folder as the file system knows it, whatever path spelled it:
// device and inode on POSIX, volume serial number and file index on Windows.
// Two paths name the same entry exactly when their identities are equal, also
// across links, bind mounts, letter case, device paths and shares.
struct FileIdentity
{
    std::uint64_t Volume = 0;
    std::uint64_t Index = 0;

    bool operator==(const FileIdentity&) const = default;
};
