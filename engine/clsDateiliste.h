#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

class EngineError;
class FileSystem;

// Collects the files below a base folder whose type is one of a list, in walk
// order: a folder's own files first, then the whole subtree of each subfolder.
class clsDateiliste
{
public:
    // yield is called after every file examined, so that a window stays
    // responsive during a long search.
    explicit clsDateiliste(FileSystem& fileSystem, std::function<void()> yield = {});

    // Called with the error of a subfolder that cannot be listed; the search
    // then goes on without it. Without a handler the error ends the search.
    // The base folder's own error always ends it.
    std::function<void(const EngineError&)> UnreadableFolder;
    // Called with the path of every link to a folder, which the search does
    // not enter, so that a link cannot make it loop or leave the tree.
    std::function<void(const std::string&)> SkippedLink;

    std::string BasisVerzeichnis;
    bool DateitypenFiltern = false;

    void Dateitypen(std::vector<std::string> Wert);
    const std::vector<std::string>& Dateiliste() const { return m_files; }
    std::size_t DateiAnzahl() const { return m_files.size(); }

    // Appends every selected file below BasisVerzeichnis to the list; the list
    // is never cleared, so a second call lists everything again.
    void erzeugeDateiliste();

    // The text after the last "." of the whole path (not only the file name),
    // or the empty text when there is none.
    static std::string_view Dateityp(std::string_view path);

private:
    void durchsucheOrdner(const std::string& folder);
    void durchsucheUnterordner(const std::string& folder);
    void pruefeDatei(const std::string& path);

    FileSystem& m_fileSystem;
    std::function<void()> m_yield;
    std::vector<std::string> m_types;
    std::vector<std::string> m_files;
};
