#include "EngineError.h"

#include "SystemErrorText.h"

#include <cerrno>

#ifdef _WIN32
#include "WindowsErrorText.h"
#endif

EngineError::EngineError(Kind kind, const std::string& message, std::error_code reason)
    : std::runtime_error(message), m_kind(kind), m_reason(reason)
{}

bool EngineError::meansNoWriteCanSucceed() const
{
    if (!m_reason)
        return false;
#ifdef _WIN32
    if (m_reason.category() == std::system_category() &&
        WindowsErrorText::meansNoWriteCanSucceed(static_cast<unsigned long>(m_reason.value())))
        return true;
#endif
#ifdef EDQUOT
    if (m_reason == std::error_condition(EDQUOT, std::generic_category()))
        return true;
#endif
    return m_reason == std::errc::no_space_on_device ||
           m_reason == std::errc::read_only_file_system;
}

EngineError EngineError::fileSystem(const std::string& what, const std::string& path,
                                    const std::error_code& reason)
{
    return EngineError(Kind::FileSystem,
                       what + ": " + path + " (" + SystemErrorText::german(reason) + ")", reason);
}
