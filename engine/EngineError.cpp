#include "EngineError.h"

EngineError::EngineError(Kind kind, const std::string& message)
    : std::runtime_error(message), m_kind(kind)
{}

EngineError EngineError::fileSystem(const std::string& what, const std::string& path,
                                    const std::error_code& reason)
{
    return EngineError(Kind::FileSystem, what + ": " + path + " (" + reason.message() + ")");
}
