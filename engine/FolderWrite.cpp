#include "FolderWrite.h"

#include "EngineError.h"

#include <cerrno>
#include <fcntl.h>
#include <system_error>
#include <unistd.h>

namespace {

std::error_code lastError()
{
    return {errno, std::generic_category()};
}

bool writeAll(int file, std::string_view bytes)
{
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t count = ::write(file, bytes.data() + done, bytes.size() - done);
        if (count < 0 && errno == EINTR)
            continue;
        if (count <= 0)
            return false;
        done += static_cast<std::size_t>(count);
    }
    return true;
}

} // namespace

void FolderWrite::write(std::string_view bytes) const
{
    std::string temporary;
    int file = -1;
    for (int attempt = 0; attempt < 8 && file < 0; ++attempt) {
        temporary = TemporaryName();
        file = openat(Folder, temporary.c_str(),
                      O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (file < 0 && errno != EEXIST)
            break;
    }
    if (file < 0)
        throw EngineError::fileSystem("Datei konnte nicht angelegt werden", ShownPath, lastError());

    const bool written = writeAll(file, bytes) && (!Durable || fsync(file) == 0);
    std::error_code error = written ? std::error_code() : lastError();
    if (close(file) != 0 && !error)
        error = lastError();
    if (!error) {
        try {
            if (BeforeRename)
                BeforeRename();
        } catch (...) {
            unlinkat(Folder, temporary.c_str(), 0);
            throw;
        }
        if (renameat(Folder, temporary.c_str(), Folder, Name.c_str()) == 0) {
            if (Durable)
                fsync(Folder);
            return;
        }
    }
    const std::error_code failure = error ? error : lastError();
    unlinkat(Folder, temporary.c_str(), 0);
    throw EngineError::fileSystem(error ? "Datei konnte nicht geschrieben werden"
                                        : "Datei konnte nicht ersetzt werden",
                                  ShownPath, failure);
}
