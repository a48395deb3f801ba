#pragma once

#include "UploadTarget.h"

#include <atomic>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

// One connection to the remote host through libcurl, reused from request to
// request: folder listings, uploads with commands after them, and commands
// alone. Remote paths are decoded text; the session escapes them for the URL
// and quotes them for the server's commands.
class RemoteSession
{
public:
    struct Access
    {
        std::string Password;
        // SFTP: a private key file; its ".pub" beside it is used when present.
        std::string KeyFile;
        // "SHA256:…" as ssh-keygen -l shows it: an SSH host key accepted
        // although known_hosts does not list it.
        std::string AcceptedHostKey;
        // "SHA256:AB:CD:…" as openssl x509 -fingerprint -sha256 shows it: the
        // one FTPS certificate accepted, also when no authority vouches for it.
        std::string PinnedCertificate;
        std::string KnownHostsFile;
    };

    enum class Status
    {
        Ok,
        // The server refused this one request; the connection is fine.
        Refused,
        // A command after an upload failed: the file arrived, the rename not.
        CommandFailed,
        // The connection broke or never came up.
        Lost,
        // Login, host key or certificate refused: no point trying again.
        Untrusted,
        Cancelled
    };

    struct Answer
    {
        Status State = Status::Ok;
        std::string Reason; // German, for the user
    };

    RemoteSession(const UploadTarget& target, Access access, const std::atomic<bool>* cancel);
    ~RemoteSession();
    RemoteSession(const RemoteSession&) = delete;
    RemoteSession& operator=(const RemoteSession&) = delete;

    // The folder's entries in the server's "ls -l" form.
    Answer list(const std::string& folder, std::string& listing);
    // Writes bytes as folder/name, creating missing folders, then runs
    // commands (see renameCommands and removeCommand) on the same connection.
    Answer put(const std::string& folder, const std::string& name, std::string_view bytes,
               const std::vector<std::string>& commands);
    // Runs commands in folder without a transfer.
    Answer run(const std::string& folder, const std::vector<std::string>& commands);

    // from renamed to to, both in folder; with replace, to is removed first
    // (for servers whose rename does not replace), and its absence tolerated.
    std::vector<std::string> renameCommands(const std::string& folder, const std::string& from,
                                            const std::string& to, bool replace) const;
    std::string removeCommand(const std::string& folder, const std::string& name) const;

    // The server's host key or certificate fingerprint when it was not
    // trusted, in the form the options above accept; else empty.
    const std::string& untrustedFingerprint() const;
    // Whether a key was refused because it differs from known_hosts.
    bool hostKeyChanged() const;

private:
    struct Connection;
    std::unique_ptr<Connection> m_connection;
};
