#pragma once

#include <string>

struct CommandLine;

// The options of kelvane-cli --upload: how each is checked, what may not go
// with it, and its part of the help.
class UploadOptions
{
public:
    static std::string storeUrl(CommandLine& options, const std::string& value);
    static std::string storeSshKey(CommandLine& options, const std::string& value);
    static std::string storeHostKey(CommandLine& options, const std::string& value);
    static std::string storePinCert(CommandLine& options, const std::string& value);

    // Why the upload options cannot be used so, or the empty text.
    static std::string conflict(const CommandLine& options, bool urlGiven);
    static std::string help();
};
