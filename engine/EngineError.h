#pragma once

#include <stdexcept>
#include <string>
#include <system_error>

// The one error type of the engine. The kind tells callers (and tests) what
// went wrong; the message is German, names the path involved and the system's
// reason, and is meant to be shown to the user as it stands.
class EngineError : public std::runtime_error
{
public:
    enum class Kind
    {
        TypeMismatch,
        Overflow,
        InvalidArgument,
        FileSystem
    };

    EngineError(Kind kind, const std::string& message, std::error_code reason = {});

    // A failed file-system operation: what failed, on which path, and why.
    static EngineError fileSystem(const std::string& what, const std::string& path,
                                  const std::error_code& reason);

    Kind kind() const noexcept { return m_kind; }
    // The system's reason for a file-system failure; empty for the others.
    const std::error_code& reason() const noexcept { return m_reason; }
    // A full disk, a read-only medium or an exhausted quota: every further
    // write would fail the same way.
    bool meansNoWriteCanSucceed() const;

private:
    Kind m_kind;
    std::error_code m_reason;
};
