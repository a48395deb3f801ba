#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>

// A remote folder's entries as FTP's LIST and SFTP's long names give them,
// in the "ls -l" form: "-rw-r--r--  1 anna  www  1234 Dec  7 22:00 name".
// Lines of another form are left out, so an unknown file only costs an
// upload that was not needed.
class RemoteListing
{
public:
    struct Entry
    {
        bool Folder = false;
        std::uint64_t Size = 0;
    };

    static RemoteListing parse(std::string_view text);

    const Entry* find(const std::string& name) const;
    const std::map<std::string, Entry>& entries() const { return m_entries; }

private:
    std::map<std::string, Entry> m_entries;
};
