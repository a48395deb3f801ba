#include "NativeOpenFolder.h"

#include "EngineError.h"
#include "FileSystem.h"
#include "FolderWrite.h"
#include "TemporaryName.h"

#include <algorithm>
#include <cerrno>
#include <optional>
#include <system_error>

#ifdef _WIN32
#include "NativePath.h"
#include "WindowsFiles.h"

#include <cstdio>
#include <filesystem>
#include <windows.h>
#else
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

bool OpenFolder::contains(const std::vector<FileIdentity>& identities, const FileIdentity& wanted)
{
    return std::find(identities.begin(), identities.end(), wanted) != identities.end();
}

namespace {

std::error_code lastError()
{
    return {errno, std::generic_category()};
}

[[noreturn]] void refuseNotRegular(const std::string& path)
{
    throw EngineError(EngineError::Kind::FileSystem,
                      "Datei wird nicht ersetzt: " + path +
                          " (keine gewöhnliche Datei, sondern ein Ordner, eine Verknüpfung "
                          "oder ein Gerät)",
                      std::make_error_code(std::errc::file_exists));
}

} // namespace

std::string NativeOpenFolder::pathOf(const std::string& name) const
{
    return m_path + PathSeparator + name;
}

std::string NativeOpenFolder::temporaryNameFor(const std::string& name)
{
    const std::string named = TemporaryName::besideTarget(name, m_random);
    return named.empty() ? TemporaryName::make(m_random) : named;
}

void NativeOpenFolder::refuseUnlessReplaceable(const std::string& name)
{
    if (entry(name) == Entry::Other)
        refuseNotRegular(pathOf(name));
}

#ifndef _WIN32

namespace {

// A descriptor that only names a folder: enough to walk and to look at it,
// and it needs no right to read the folder.
#ifdef O_PATH
constexpr int WalkFlags = O_PATH | O_DIRECTORY | O_CLOEXEC;
#else
constexpr int WalkFlags = O_RDONLY | O_DIRECTORY | O_CLOEXEC;
#endif

std::optional<FileIdentity> identityOf(int descriptor)
{
    struct stat status;
    if (fstat(descriptor, &status) != 0)
        return std::nullopt;
    return FileIdentity{static_cast<std::uint64_t>(status.st_dev),
                        static_cast<std::uint64_t>(status.st_ino)};
}

} // namespace

std::unique_ptr<NativeOpenFolder> NativeOpenFolder::open(const std::string& path)
{
    const int descriptor = ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (descriptor < 0)
        throw EngineError::fileSystem("Ordner konnte nicht geöffnet werden", path, lastError());
    return std::make_unique<NativeOpenFolder>(descriptor, path);
}

NativeOpenFolder::NativeOpenFolder(int descriptor, std::string path)
    : m_path(std::move(path)), m_random(std::random_device{}()), m_descriptor(descriptor)
{
    const std::optional<FileIdentity> identity = identityOf(descriptor);
    if (!identity) {
        const std::error_code error = lastError();
        close(descriptor);
        throw EngineError::fileSystem("Ordner konnte nicht geöffnet werden", m_path, error);
    }
    m_identity = *identity;
}

NativeOpenFolder::~NativeOpenFolder()
{
    close(m_descriptor);
}

// Upwards through "..", which the kernel resolves as the folder really lies:
// through bind mounts and whatever links spelled the path.
std::vector<FileIdentity> NativeOpenFolder::ancestry()
{
    std::vector<FileIdentity> chain{m_identity};
    int current = openat(m_descriptor, ".", WalkFlags);
    while (current >= 0) {
        const int parent = openat(current, "..", WalkFlags);
        close(current);
        current = parent;
        const std::optional<FileIdentity> identity = parent < 0 ? std::nullopt : identityOf(parent);
        if (!identity || *identity == chain.back())
            break;
        chain.push_back(*identity);
    }
    if (current >= 0)
        close(current);
    return chain;
}

OpenFolder::Entry NativeOpenFolder::entry(const std::string& name)
{
    struct stat status;
    if (fstatat(m_descriptor, name.c_str(), &status, AT_SYMLINK_NOFOLLOW) != 0)
        return errno == ENOENT ? Entry::Missing : Entry::Other;
    return S_ISREG(status.st_mode) ? Entry::RegularFile : Entry::Other;
}

void NativeOpenFolder::writeFile(const std::string& name, std::string_view bytes)
{
    refuseUnlessReplaceable(name);
    FolderWrite{m_descriptor,
                name,
                pathOf(name),
                [&] { return temporaryNameFor(name); },
                [&] { refuseUnlessReplaceable(name); },
                true}
        .write(bytes);
}

void NativeOpenFolder::removeStaleTemporaries(const std::vector<std::string>& names)
{
    const int listing = openat(m_descriptor, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    DIR* folder = listing < 0 ? nullptr : fdopendir(listing);
    if (!folder) {
        if (listing >= 0)
            close(listing);
        return; // nothing to clean where nothing can be listed
    }
    while (const dirent* found = readdir(folder)) {
        const std::string_view entryName = found->d_name;
        const bool ours = std::any_of(names.begin(), names.end(), [&](const std::string& name) {
            return TemporaryName::matchesBesideTarget(entryName, name);
        });
        if (ours && entry(found->d_name) == Entry::RegularFile)
            unlinkat(m_descriptor, found->d_name, 0);
    }
    closedir(folder);
}

#else

namespace fs = std::filesystem;

namespace {

std::error_code lastWindowsError()
{
    return {static_cast<int>(GetLastError()), std::system_category()};
}

} // namespace

std::unique_ptr<NativeOpenFolder> NativeOpenFolder::open(const std::string& path)
{
    std::wstring wide;
    if (!toWideText(path, wide))
        throw EngineError::fileSystem("Ordner konnte nicht geöffnet werden", path,
                                      std::make_error_code(std::errc::illegal_byte_sequence));
    // Sharing every right keeps this handle out of the way of the run's lock.
    WindowsHandle handle(CreateFileW(wide.c_str(), FILE_LIST_DIRECTORY | SYNCHRONIZE,
                                     FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                     nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!handle.valid())
        throw EngineError::fileSystem("Ordner konnte nicht geöffnet werden", path,
                                      lastWindowsError());
    if (!(handle.attributes() & FILE_ATTRIBUTE_DIRECTORY))
        throw EngineError::fileSystem("Ordner konnte nicht geöffnet werden", path,
                                      std::make_error_code(std::errc::not_a_directory));
    return std::make_unique<NativeOpenFolder>(std::move(handle), path);
}

NativeOpenFolder::NativeOpenFolder(WindowsHandle handle, std::string path)
    : m_path(std::move(path)), m_random(std::random_device{}()), m_handle(std::move(handle))
{
    const std::optional<FileIdentity> identity = m_handle.identity();
    if (!identity)
        throw EngineError::fileSystem("Ordner konnte nicht geöffnet werden", m_path,
                                      lastWindowsError());
    m_identity = *identity;
}

NativeOpenFolder::~NativeOpenFolder() = default;

// Windows resolves ".." by the text of the path, so the parents by text are
// the parents the system would use; each is then known by its identity, which
// no spelling changes. The text is cut at separators only, which keeps a
// "\\?\" or share prefix as it is.
std::vector<FileIdentity> NativeOpenFolder::ancestry()
{
    std::vector<FileIdentity> chain{m_identity};
    // A device path is taken literally by the system, "." and ".." included;
    // any other is made whole the way the system reads it.
    std::string current = m_path;
    if (current.rfind("\\\\?\\", 0) != 0) {
        std::error_code error;
        const fs::path absolute = fs::absolute(toNativePath(m_path), error);
        if (error || !toUtf8Text(absolute.native(), current))
            return chain;
    }
    for (;;) {
        const std::size_t cut = current.find_last_of("\\/");
        if (cut == std::string::npos || cut + 1 == current.size())
            break;
        std::string parent = current.substr(0, cut);
        const bool driveRoot = !parent.empty() && parent.back() == ':';
        if (driveRoot)
            parent += '\\';
        if (parent.empty() || parent == "\\" || parent == "\\\\?")
            break;
        const std::optional<FileIdentity> identity =
            WindowsHandle::openForIdentity(parent).identity();
        if (identity && !contains(chain, *identity))
            chain.push_back(*identity);
        if (driveRoot)
            break;
        current = std::move(parent);
    }
    return chain;
}

OpenFolder::Entry NativeOpenFolder::entry(const std::string& name)
{
    const WindowsHandle handle = WindowsHandle::openForIdentity(pathOf(name), true);
    if (!handle.valid()) {
        const DWORD error = GetLastError();
        return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? Entry::Missing
                                                                              : Entry::Other;
    }
    const DWORD attributes = handle.attributes();
    const bool plain = GetFileType(handle.get()) == FILE_TYPE_DISK &&
                       attributes != INVALID_FILE_ATTRIBUTES &&
                       !(attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT));
    return plain ? Entry::RegularFile : Entry::Other;
}

// The path that opened the folder must still lead to it: a folder renamed
// away and replaced by a link or junction would lead the write elsewhere.
void NativeOpenFolder::ensureStillHeld()
{
    const WindowsHandle current = WindowsHandle::openForIdentity(m_path, true);
    const DWORD attributes = current.attributes();
    if (current.identity() != m_identity || attributes == INVALID_FILE_ATTRIBUTES ||
        (attributes & FILE_ATTRIBUTE_REPARSE_POINT))
        throw EngineError(EngineError::Kind::FileSystem,
                          "Ordner wurde während des Laufs ersetzt: " + m_path,
                          std::make_error_code(std::errc::too_many_symbolic_link_levels));
}

void NativeOpenFolder::writeFile(const std::string& name, std::string_view bytes)
{
    ensureStillHeld();
    refuseUnlessReplaceable(name);
    std::string temporary;
    std::FILE* file = nullptr;
    for (int attempt = 0; attempt < 8 && !file; ++attempt) {
        temporary = pathOf(temporaryNameFor(name));
        file = WindowsFiles::createNew(temporary);
        if (!file && errno != EEXIST)
            break;
    }
    if (!file)
        throw EngineError::fileSystem("Datei konnte nicht angelegt werden", pathOf(name),
                                      lastError());
    const bool written =
        std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size() && std::fflush(file) == 0;
    std::error_code error = written ? std::error_code() : lastError();
    if (std::fclose(file) != 0 && !error)
        error = lastError();
    if (!error) {
        ensureStillHeld();
        refuseUnlessReplaceable(name);
        if (MoveFileExW(toNativePath(temporary).c_str(), toNativePath(pathOf(name)).c_str(),
                        MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
            return;
    }
    const std::error_code failure = error ? error : lastWindowsError();
    DeleteFileW(toNativePath(temporary).c_str());
    throw EngineError::fileSystem(error ? "Datei konnte nicht geschrieben werden"
                                        : "Datei konnte nicht ersetzt werden",
                                  pathOf(name), failure);
}

// Listed through the held handle: a listing by path opens the folder anew,
// which fails while the run's lock holds the output root.
void NativeOpenFolder::removeStaleTemporaries(const std::vector<std::string>& names)
{
    alignas(8) char buffer[64 * 1024];
    FILE_INFO_BY_HANDLE_CLASS kind = FileIdBothDirectoryRestartInfo;
    while (GetFileInformationByHandleEx(m_handle.get(), kind, buffer, sizeof buffer)) {
        kind = FileIdBothDirectoryInfo;
        for (std::size_t offset = 0;;) {
            const auto* found = reinterpret_cast<const FILE_ID_BOTH_DIR_INFO*>(buffer + offset);
            std::string entryName;
            const bool named = toUtf8Text(
                std::wstring_view(found->FileName, found->FileNameLength / sizeof(wchar_t)),
                entryName);
            const bool ours =
                named && std::any_of(names.begin(), names.end(), [&](const std::string& name) {
                    return TemporaryName::matchesBesideTarget(entryName, name);
                });
            if (ours && entry(entryName) == Entry::RegularFile)
                DeleteFileW(toNativePath(pathOf(entryName)).c_str());
            if (found->NextEntryOffset == 0)
                break;
            offset += found->NextEntryOffset;
        }
    }
}

#endif
