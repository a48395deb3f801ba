// The upload of a build without libcurl: every request fails with the reason,
// so that nothing counts as uploaded that was not.
#include "RemoteSession.h"

struct RemoteSession::Connection
{
    std::string Empty;
};

namespace {

RemoteSession::Answer unavailable()
{
    return {RemoteSession::Status::Untrusted, "in dieser Ausgabe ohne Hochladen gebaut"};
}

} // namespace

RemoteSession::RemoteSession(const UploadTarget&, Access, const std::atomic<bool>*)
    : m_connection(std::make_unique<Connection>())
{}

RemoteSession::~RemoteSession() = default;

RemoteSession::Answer RemoteSession::list(const std::string&, std::string&)
{
    return unavailable();
}

RemoteSession::Answer RemoteSession::put(const std::string&, const std::string&, std::string_view,
                                         const std::vector<std::string>&)
{
    return unavailable();
}

RemoteSession::Answer RemoteSession::run(const std::string&, const std::vector<std::string>&)
{
    return unavailable();
}

std::vector<std::string> RemoteSession::renameCommands(const std::string&, const std::string&,
                                                       const std::string&, bool) const
{
    return {};
}

std::string RemoteSession::removeCommand(const std::string&, const std::string&) const
{
    return {};
}

const std::string& RemoteSession::untrustedFingerprint() const
{
    return m_connection->Empty;
}

bool RemoteSession::hostKeyChanged() const
{
    return false;
}
