#pragma once

#include <stdexcept>
#include <string>

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

    EngineError(Kind kind, const std::string& message);

    Kind kind() const noexcept { return m_kind; }

private:
    Kind m_kind;
};
