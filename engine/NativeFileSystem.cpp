#include "NativeFileSystem.h"

#include "EngineError.h"
#include "FolderListing.h"
#include "NativeOpenFolder.h"
#include "NativeOutputTree.h"
#include "NativePath.h"
#include "TemporaryName.h"
#include "WindowsFiles.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <system_error>

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace fs = std::filesystem;

namespace {

[[noreturn]] void failWithErrno(const std::string& what, const std::string& path)
{
    throw EngineError::fileSystem(what, path, std::error_code(errno, std::generic_category()));
}

struct FileCloser
{
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using FileHandle = std::unique_ptr<std::FILE, FileCloser>;

// A file of a name nobody else holds; fails with EEXIST when it is taken.
std::FILE* createNewFile(const std::string& path)
{
#ifdef _WIN32
    return WindowsFiles::createNew(path);
#else
    return std::fopen(path.c_str(), "wbx");
#endif
}

// Where the file name of a path begins. Windows takes either separator.
std::size_t nameStart(const std::string& path)
{
#ifdef _WIN32
    const std::size_t separator = path.find_last_of("\\/");
#else
    const std::size_t separator = path.find_last_of(PathSeparator);
#endif
    return separator == std::string::npos ? 0 : separator + 1;
}

// Only a regular file is read: a FIFO or a device would block the program or
// never end, and a folder has no text.
[[noreturn]] void failNotRegular(const std::string& path)
{
    throw EngineError(EngineError::Kind::FileSystem,
                      "Datei konnte nicht gelesen werden: " + path + " (keine gewöhnliche Datei)",
                      std::make_error_code(std::errc::invalid_argument));
}

#ifdef _WIN32

std::error_code lastWindowsError()
{
    return {static_cast<int>(GetLastError()), std::system_category()};
}

// The Win32 functions themselves, since the C runtime's and the standard
// library's stop at 260 characters.
void renameOver(const std::string& from, const std::string& to, std::error_code& error)
{
    error.clear();
    if (!MoveFileExW(toWin32Path(from).c_str(), toWin32Path(to).c_str(), MOVEFILE_REPLACE_EXISTING))
        error = lastWindowsError();
}

void removeFile(const std::string& path)
{
    DeleteFileW(toWin32Path(path).c_str());
}

struct HandleCloser
{
    HANDLE value;
    ~HandleCloser() { CloseHandle(value); }
};

#else

void renameOver(const std::string& from, const std::string& to, std::error_code& error)
{
    fs::rename(from, to, error);
}

void removeFile(const std::string& path)
{
    std::error_code ignored;
    fs::remove(path, ignored);
}

struct Descriptor
{
    int value;
    ~Descriptor() { close(value); }
};

#endif

} // namespace

NativeFileSystem::NativeFileSystem() : m_random(std::random_device{}()) {}

bool NativeFileSystem::FolderExists(const std::string& path)
{
    if (path.empty())
        return false;
#ifdef _WIN32
    return WindowsFiles::isFolder(path);
#else
    std::error_code error;
    return fs::is_directory(toNativePath(path), error);
#endif
}

bool NativeFileSystem::FileExists(const std::string& path)
{
#ifdef _WIN32
    return WindowsFiles::isFile(path);
#else
    std::error_code error;
    const fs::file_status status = fs::status(toNativePath(path), error);
    return !error && fs::exists(status) && !fs::is_directory(status);
#endif
}

void NativeFileSystem::CreateFolder(const std::string& path)
{
    std::error_code error;
#ifdef _WIN32
    if (!CreateDirectoryW(toWin32Path(path).c_str(), nullptr))
        error = lastWindowsError();
#else
    if (!fs::create_directory(toNativePath(path), error) && !error)
        error = std::make_error_code(std::errc::file_exists);
#endif
    if (error)
        throw EngineError::fileSystem("Ordner konnte nicht angelegt werden", path, error);
}

FolderContents NativeFileSystem::ListFolder(const std::string& path)
{
    return FolderListing::read(path);
}

#ifndef _WIN32

std::string NativeFileSystem::ReadAll(const std::string& path)
{
    // Opening without blocking returns at once even for a FIFO without writer.
    const int file = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (file < 0)
        failWithErrno("Datei konnte nicht geöffnet werden", path);
    const Descriptor closer{file};
    struct stat status;
    if (fstat(file, &status) != 0)
        failWithErrno("Datei konnte nicht gelesen werden", path);
    if (!S_ISREG(status.st_mode))
        failNotRegular(path);
    std::string bytes;
    bytes.reserve(static_cast<std::size_t>(status.st_size));
    char buffer[64 * 1024];
    for (;;) {
        const ssize_t count = read(file, buffer, sizeof buffer);
        if (count < 0 && errno == EINTR)
            continue;
        if (count < 0)
            failWithErrno("Datei konnte nicht gelesen werden", path);
        if (count == 0)
            return bytes;
        bytes.append(buffer, static_cast<std::size_t>(count));
    }
}

#else

std::string NativeFileSystem::ReadAll(const std::string& path)
{
    const HANDLE file =
        CreateFileW(toWin32Path(path).c_str(), GENERIC_READ,
                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                    FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        throw EngineError::fileSystem("Datei konnte nicht geöffnet werden", path,
                                      lastWindowsError());
    const HandleCloser closer{file};
    BY_HANDLE_FILE_INFORMATION information;
    if (GetFileType(file) != FILE_TYPE_DISK || !GetFileInformationByHandle(file, &information) ||
        (information.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        failNotRegular(path);
    std::string bytes;
    char buffer[64 * 1024];
    for (;;) {
        DWORD count = 0;
        if (!ReadFile(file, buffer, sizeof buffer, &count, nullptr))
            throw EngineError::fileSystem("Datei konnte nicht gelesen werden", path,
                                          lastWindowsError());
        if (count == 0)
            return bytes;
        bytes.append(buffer, count);
    }
}

#endif

std::string NativeFileSystem::temporaryNameFor(const std::string& path)
{
    return path.substr(0, nameStart(path)) + TemporaryName::make(m_random);
}

void NativeFileSystem::WriteFile(const std::string& path, std::string_view bytes)
{
    // The bytes go to a fresh file beside the target, which then replaces the
    // target in one rename: a crash or a full disk never leaves a fragment.
    std::string temporary;
    FileHandle file;
    for (int attempt = 0; attempt < 8 && !file; ++attempt) {
        temporary = temporaryNameFor(path);
        file.reset(createNewFile(temporary));
        if (!file && errno != EEXIST)
            break;
    }
    if (!file)
        failWithErrno("Datei konnte nicht angelegt werden", path);
    // The bytes are complete in memory: one write, no buffer to set up.
    std::setvbuf(file.get(), nullptr, _IONBF, 0);

    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file.get()) == bytes.size();
    const int writeErrno = errno;
    const bool closed = std::fclose(file.release()) == 0;
    const int closeErrno = errno;
    if (!written || !closed) {
        removeFile(temporary);
        errno = written ? closeErrno : writeErrno;
        failWithErrno("Datei konnte nicht geschrieben werden", path);
    }
    std::error_code error;
    renameOver(temporary, path, error);
    if (error) {
        removeFile(temporary);
        throw EngineError::fileSystem("Datei konnte nicht ersetzt werden", path, error);
    }
}

// Permissions alone do not tell (an administrator may write anywhere, a
// read-only medium refuses everyone), so a file is really created and removed.
bool NativeFileSystem::FolderWritable(const std::string& path)
{
    const std::string probe = temporaryNameFor(path + PathSeparator + "probe");
    FileHandle file(createNewFile(probe));
    if (!file)
        return false;
    file.reset();
    removeFile(probe);
    return true;
}

bool NativeFileSystem::IsLink(const std::string& path)
{
#ifdef _WIN32
    // mingw's std::filesystem knows no links: it reports what they lead to.
    return WindowsFiles::isLink(path);
#else
    std::error_code error;
    return fs::is_symlink(fs::symlink_status(toNativePath(path), error));
#endif
}

std::string NativeFileSystem::RealPath(const std::string& path)
{
    std::error_code error;
    const fs::path real = fs::weakly_canonical(toNativePath(path), error);
    return error ? path : fromNativePath(real);
}

std::unique_ptr<OutputTree> NativeFileSystem::openOutputTree(const std::string& root)
{
    return std::make_unique<NativeOutputTree>(root);
}

std::unique_ptr<OpenFolder> NativeFileSystem::openFolder(const std::string& path)
{
    return NativeOpenFolder::open(path);
}
