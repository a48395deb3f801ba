#include "TypedPath.h"

#include "EngineError.h"
#include "NativePath.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

bool TypedPath::isAbsolute(const std::string& path)
{
#ifdef _WIN32
    // "C:\x", "C:/x", UNC paths and "\x", a folder from the current drive's
    // root, which the run climbs to that root like any other; "C:x" is
    // relative to the drive's own current folder and is left alone too,
    // rather than guessed at.
    const bool drive = path.size() >= 2 && path[1] == ':';
    return drive || (!path.empty() && (path.front() == '\\' || path.front() == '/'));
#else
    return !path.empty() && path.front() == '/';
#endif
}

std::string TypedPath::resolve(const std::string& typed)
{
#ifdef _WIN32
    // A device path ("\\?\C:\site") is passed on as it is: there "/" is no
    // separator. Anywhere else it is one, and becomes "\", the separator the
    // run splits at; nothing else of an absolute path changes, so a bare
    // drive ("X:") stays a drive rather than its current folder, and a share
    // ("\\server\share") stays on its server.
    if (typed.rfind("\\\\?\\", 0) == 0)
        return typed;
    std::string path = typed;
    std::replace(path.begin(), path.end(), '/', '\\');
#else
    const std::string& path = typed;
#endif
    if (path.empty() || isAbsolute(path))
        return path;
    std::error_code error;
    const fs::path current = fs::current_path(error);
    if (error)
        return typed;
    // "site/." normalises to "site/", whose one trailing separator the run
    // strips like any other.
    try {
        return fromNativePath((current / toNativePath(path)).lexically_normal());
    } catch (const EngineError&) {
        return typed; // no text a path can be made of: the run finds no such folder
    }
}
