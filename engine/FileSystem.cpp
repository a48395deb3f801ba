#include "FileSystem.h"

void FileSystem::WriteLine(const std::string& path, std::string_view bytes)
{
    std::string line;
    line.reserve(bytes.size() + 2);
    line.append(bytes);
    line.append("\r\n");
    WriteFile(path, line);
}
