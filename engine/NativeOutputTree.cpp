#include "NativeOutputTree.h"

#include "EngineError.h"
#include "FileSystem.h"
#include "FolderWrite.h"
#include "NativePath.h"
#include "TemporaryName.h"
#include "TreePlacement.h"

#include <cerrno>
#include <system_error>

#ifdef _WIN32
#include "WindowsFiles.h"

#include <cstdio>
#include <windows.h>
#else
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

std::error_code lastError()
{
    return {errno, std::generic_category()};
}

EngineError linkRefused(const std::string& path)
{
    return EngineError(EngineError::Kind::FileSystem,
                       "Ordner ist eine Verknüpfung, in die nicht geschrieben wird: " + path,
                       std::make_error_code(std::errc::too_many_symbolic_link_levels));
}

// The levels of a relative folder, which begins with the separator.
std::vector<std::string> levelsOf(const std::string& relativeFolder)
{
    std::vector<std::string> levels;
    std::size_t start = 0;
    while (start < relativeFolder.size()) {
        const std::size_t next = relativeFolder.find(PathSeparator, start + 1);
        const std::size_t end = next == std::string::npos ? relativeFolder.size() : next;
        levels.push_back(relativeFolder.substr(start + 1, end - start - 1));
        start = end;
    }
    return levels;
}

} // namespace

#ifndef _WIN32

namespace {

// The named level below the open folder, created when missing; never a link.
int openLevel(int parent, const std::string& name, const std::string& path)
{
    constexpr int Flags = O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC;
    int descriptor = openat(parent, name.c_str(), Flags);
    if (descriptor < 0 && errno == ENOENT) {
        if (mkdirat(parent, name.c_str(), 0777) != 0 && errno != EEXIST)
            throw EngineError::fileSystem("Ordner konnte nicht angelegt werden", path, lastError());
        descriptor = openat(parent, name.c_str(), Flags);
    }
    if (descriptor >= 0)
        return descriptor;
    if (errno == ELOOP)
        throw linkRefused(path);
    throw EngineError::fileSystem("Ordner konnte nicht geöffnet werden", path, lastError());
}

} // namespace

namespace {

// Where the root's name begins; a bare name lies in the current folder.
std::string parentOf(const std::string& root, std::size_t& nameStart)
{
    nameStart = root.find_last_of(PathSeparator);
    const std::string parent = nameStart == std::string::npos ? "."
                               : nameStart == 0               ? "/"
                                                              : root.substr(0, nameStart);
    nameStart = nameStart == std::string::npos ? 0 : nameStart + 1;
    return parent;
}

} // namespace

NativeOutputTree::NativeOutputTree(const std::string& root)
    : m_root(root), m_random(std::random_device{}())
{
    std::size_t nameStart = 0;
    m_parentFolder = NativeOpenFolder::open(parentOf(root, nameStart));
    m_rootDescriptor = openLevel(m_parentFolder->descriptor(), root.substr(nameStart), root);
    m_rootFolder = std::make_unique<NativeOpenFolder>(m_rootDescriptor, root);
}

NativeOutputTree::~NativeOutputTree()
{
    if (m_folderDescriptor >= 0 && m_folderDescriptor != m_rootDescriptor)
        close(m_folderDescriptor);
}

bool NativeOutputTree::lock()
{
    return flock(m_rootDescriptor, LOCK_EX | LOCK_NB) == 0;
}

void NativeOutputTree::enterFolder(const std::string& relativeFolder)
{
    if (m_folderDescriptor >= 0 && m_folderDescriptor != m_rootDescriptor)
        close(m_folderDescriptor);
    m_folderDescriptor = -1;
    int current = m_rootDescriptor;
    std::string path = m_root;
    for (const std::string& level : levelsOf(relativeFolder)) {
        path += PathSeparator + level;
        int next = -1;
        try {
            next = openLevel(current, level, path);
        } catch (...) {
            if (current != m_rootDescriptor)
                close(current);
            throw;
        }
        if (current != m_rootDescriptor)
            close(current);
        current = next;
    }
    m_folderDescriptor = current;
    m_folder = path;
    removeStaleTemporaries();
}

void NativeOutputTree::removeStaleTemporaries()
{
    const int listing = dup(m_folderDescriptor);
    DIR* folder = listing < 0 ? nullptr : fdopendir(listing);
    if (!folder) {
        if (listing >= 0)
            close(listing);
        throw EngineError::fileSystem("Ordner konnte nicht gelesen werden", m_folder, lastError());
    }
    while (const dirent* entry = readdir(folder)) {
        if (!TemporaryName::matches(entry->d_name))
            continue;
        struct stat status;
        if (fstatat(m_folderDescriptor, entry->d_name, &status, AT_SYMLINK_NOFOLLOW) == 0 &&
            S_ISREG(status.st_mode))
            unlinkat(m_folderDescriptor, entry->d_name, 0);
    }
    closedir(folder);
}

void NativeOutputTree::writePage(const std::string& name, std::string_view bytes)
{
    const std::string target = m_folder + PathSeparator + name;
    if (m_folderDescriptor < 0)
        throw EngineError::fileSystem("Datei konnte nicht angelegt werden", target,
                                      std::make_error_code(std::errc::bad_file_descriptor));
    FolderWrite{m_folderDescriptor,
                name,
                target,
                [this] { return TemporaryName::make(m_random); },
                {},
                false}
        .write(bytes);
}

// One flush of the whole file system at the end costs far less than one per
// page, and a run writes only there.
void NativeOutputTree::flush()
{
#ifdef __linux__
    if (syncfs(m_rootDescriptor) != 0)
        throw EngineError::fileSystem("Daten konnten nicht gesichert werden", m_root, lastError());
#else
    sync();
#endif
}

#else

namespace {

// The lock file's name: hidden, of no page type, and gone with the run that
// holds it.
constexpr wchar_t LockName[] = L"\\.kvlock";

std::error_code lastWindowsError()
{
    return {static_cast<int>(GetLastError()), std::system_category()};
}

// A level below the root whose name Windows cannot hold is refused before
// the system is asked: through an extended-length path it would make a folder
// that Explorer and the server's tools cannot open or remove.
void refuseUnusableName(const std::string& name, const std::string& path, const char* what)
{
    const std::string reason = WindowsFiles::unusableNameReason(name);
    if (!reason.empty())
        throw EngineError(EngineError::Kind::FileSystem,
                          std::string(what) + ": " + path + " (" + reason + ")",
                          std::make_error_code(std::errc::invalid_argument));
}

// The level as a real folder, created when missing; never a link or junction.
void makeLevel(const std::string& path)
{
    const std::wstring native = toWin32Path(path);
    DWORD attributes = GetFileAttributesW(native.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        if (!CreateDirectoryW(native.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS)
            throw EngineError::fileSystem("Ordner konnte nicht angelegt werden", path,
                                          lastWindowsError());
        attributes = GetFileAttributesW(native.c_str());
    }
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT))
        throw linkRefused(path);
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY))
        throw EngineError::fileSystem("Ordner konnte nicht geöffnet werden", path,
                                      std::make_error_code(std::errc::not_a_directory));
}

} // namespace

NativeOutputTree::NativeOutputTree(const std::string& root)
    : m_root(root), m_random(std::random_device{}())
{
    makeLevel(root);
    m_parentFolder = NativeOpenFolder::open(TreePlacement::folderOf(root));
    m_rootFolder = NativeOpenFolder::open(root);
}

NativeOutputTree::~NativeOutputTree()
{
    // The lock file goes with its handle (FILE_FLAG_DELETE_ON_CLOSE), also
    // when the process is ended.
    if (m_lockHandle)
        CloseHandle(m_lockHandle);
    if (m_rootHandle)
        CloseHandle(m_rootHandle);
}

// The lock is a file in the root that each run opens sharing nothing: only
// another run opens it, so a shell or Explorer window showing the root, or a
// virus scanner reading a page, never looks like one. The root itself is then
// held open without sharing the right to delete, so that it cannot be renamed
// or replaced while the run writes into it; that hold is left out when
// another program is renaming it right now.
bool NativeOutputTree::lock()
{
    const std::wstring root = toWin32Path(m_root);
    const HANDLE lockFile =
        CreateFileW((root + LockName).c_str(), GENERIC_READ | GENERIC_WRITE | DELETE, 0, nullptr,
                    OPEN_ALWAYS, FILE_ATTRIBUTE_HIDDEN | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (lockFile == INVALID_HANDLE_VALUE) {
        if (GetLastError() == ERROR_SHARING_VIOLATION)
            return false;
        throw EngineError::fileSystem("Ordner konnte nicht gesperrt werden", m_root,
                                      lastWindowsError());
    }
    m_lockHandle = lockFile;
    const HANDLE rootHandle =
        CreateFileW(root.c_str(), FILE_LIST_DIRECTORY, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                    OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (rootHandle != INVALID_HANDLE_VALUE)
        m_rootHandle = rootHandle;
    return true;
}

void NativeOutputTree::enterFolder(const std::string& relativeFolder)
{
    std::string path = m_root;
    makeLevel(path);
    for (const std::string& level : levelsOf(relativeFolder)) {
        path += PathSeparator + level;
        refuseUnusableName(level, path, "Ordner kann unter Windows nicht angelegt werden");
        makeLevel(path);
    }
    m_folder = path;
    m_writtenFolders.push_back(path);
    removeStaleTemporaries();
}

void NativeOutputTree::removeStaleTemporaries()
{
    std::vector<WindowsFiles::Entry> entries;
    try {
        entries = WindowsFiles::list(m_folder);
    } catch (const EngineError&) {
        return; // a folder that cannot be listed fails at its first page
    }
    for (const WindowsFiles::Entry& entry : entries) {
        if (TemporaryName::matches(entry.Name) &&
            !(entry.Attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)))
            DeleteFileW(toWin32Path(m_folder + PathSeparator + entry.Name).c_str());
    }
}

void NativeOutputTree::writePage(const std::string& name, std::string_view bytes)
{
    const std::string target = m_folder + PathSeparator + name;
    refuseUnusableName(name, target, "Datei kann unter Windows nicht angelegt werden");
    std::string temporary;
    std::FILE* file = nullptr;
    for (int attempt = 0; attempt < 8 && !file; ++attempt) {
        temporary = m_folder + PathSeparator + TemporaryName::make(m_random);
        file = WindowsFiles::createNew(temporary);
        if (!file && errno != EEXIST)
            break;
    }
    if (!file)
        throw EngineError::fileSystem("Datei konnte nicht angelegt werden", target, lastError());
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    const std::error_code writeError = written ? std::error_code() : lastError();
    const bool closed = std::fclose(file) == 0;
    const std::error_code error = writeError ? writeError
                                  : closed   ? std::error_code()
                                             : lastError();
    const std::wstring temporaryPath = toWin32Path(temporary);
    if (!error &&
        MoveFileExW(temporaryPath.c_str(), toWin32Path(target).c_str(), MOVEFILE_REPLACE_EXISTING))
        return;
    const std::error_code failure = error ? error : lastWindowsError();
    DeleteFileW(temporaryPath.c_str());
    throw EngineError::fileSystem(error ? "Datei konnte nicht geschrieben werden"
                                        : "Datei konnte nicht ersetzt werden",
                                  target, failure);
}

void NativeOutputTree::flush()
{
    for (const std::string& folder : m_writtenFolders) {
        const HANDLE handle =
            CreateFileW(toWin32Path(folder).c_str(), GENERIC_WRITE,
                        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                        OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
        if (handle == INVALID_HANDLE_VALUE)
            continue;
        const bool flushed = FlushFileBuffers(handle);
        const std::error_code error = flushed ? std::error_code() : lastWindowsError();
        CloseHandle(handle);
        if (!flushed)
            throw EngineError::fileSystem("Daten konnten nicht gesichert werden", folder, error);
    }
    m_writtenFolders.clear();
}

#endif
