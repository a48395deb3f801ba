#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>

// What arrived on one remote target: path below the output root (levels
// joined by "/"), size and SHA-256 of every uploaded file. Stored as CSV
// beside the output root:
//
//   Ziel,sftp://anna@example.com/htdocs
//   Pfad,Größe,SHA-256
//   index.htm,1234,9f86d0…
//
// While an upload runs, each arrival is appended to a journal in the same
// record form, so that a killed upload loses at most the file in flight.
class UploadManifest
{
public:
    struct Entry
    {
        std::uint64_t Size = 0;
        std::string Hash;

        bool operator==(const Entry&) const = default;
    };

    explicit UploadManifest(std::string target) : m_target(std::move(target)) {}

    // The manifest in text; one for another target, or one that cannot be
    // read, counts as empty: then everything is sent again.
    static UploadManifest parse(std::string_view text, const std::string& target);
    // Takes every whole record of a journal of this target; a torn last
    // line is left out. False for a journal of another target.
    bool applyJournal(std::string_view journal);

    std::string text() const;
    // The journal's first line, naming its target, and its records.
    std::string journalHeader() const;
    static std::string journalRecord(const std::string& path, const Entry& entry);

    const Entry* find(const std::string& path) const;
    void set(const std::string& path, Entry entry) { m_entries[path] = std::move(entry); }
    std::size_t size() const { return m_entries.size(); }

private:
    // A data record "path,size,hash"; false for any other.
    bool takeRecord(std::string_view line);

    std::string m_target;
    std::map<std::string, Entry> m_entries;
};
