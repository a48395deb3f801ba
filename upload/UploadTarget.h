#pragma once

#include <optional>
#include <string>

// Where an upload goes: protocol, account, host and the remote folder, as the
// user names them in a URL such as sftp://anna@example.com:2222/htdocs.
struct UploadTarget
{
    enum class Protocol
    {
        Sftp,
        // FTP upgraded to TLS with AUTH TLS on the usual port (explicit TLS).
        Ftps,
        Ftp
    };

    Protocol Kind = Protocol::Sftp;
    std::string User;
    std::string Host;
    int Port = 0; // 0: the protocol's own
    // Percent-decoded, starting with "/"; for SFTP absolute, or "/~/..."
    // below the home folder; for FTP below the login folder.
    std::string Folder = "/";

    // The target, or nothing with a German explanation in error.
    static std::optional<UploadTarget> parse(const std::string& url, std::string& error);

    // The URL as the user wrote it, without a password: the manifest's key.
    std::string display() const;
    // The scheme and authority libcurl connects to ("ftp" for both FTPs).
    std::string curlBase() const;
    int defaultPort() const;
    static const char* schemeOf(Protocol kind);
};
