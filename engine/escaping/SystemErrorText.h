#pragma once

#include <string>
#include <system_error>

// The system's reason for a failed file operation in German words: the
// system's own texts are English on most machines.
class SystemErrorText
{
public:
    // The German text for the common reasons; for others the system's text
    // with its number.
    static std::string german(const std::error_code& reason);
};
