#include "TypedPath.h"

#include "NativePath.h"

#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

bool TypedPath::isAbsolute(const std::string& path)
{
#ifdef _WIN32
    // "C:\x", "C:/x" and UNC paths; "C:x" is relative to the drive's own
    // current folder and is left alone too, rather than guessed at.
    const bool drive = path.size() >= 2 && path[1] == ':';
    return drive || path.rfind("\\\\", 0) == 0 || path.rfind("//", 0) == 0;
#else
    return !path.empty() && path.front() == '/';
#endif
}

std::string TypedPath::resolve(const std::string& typed)
{
    if (typed.empty() || isAbsolute(typed))
        return typed;
    std::error_code error;
    const fs::path current = fs::current_path(error);
    if (error)
        return typed;
    // "site/." normalises to "site/", whose one trailing separator the run
    // strips like any other.
    return fromNativePath((current / toNativePath(typed)).lexically_normal());
}
