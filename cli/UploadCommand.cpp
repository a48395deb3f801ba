#include "UploadCommand.h"

#include "CommandLine.h"
#include "EventThrottle.h"
#include "PasswordPrompt.h"
#include "TypedPath.h"

#include <cstdio>
#include <cstdlib>
#include <ostream>

#ifdef _WIN32
#include "Console.h"
#endif

namespace {

enum ExitStatus
{
    AllArrived = 0,
    Refused = 1,
    FilesFailed = 3
};

std::string environment(const char* name)
{
#ifdef _WIN32
    std::wstring wide(name, name + std::char_traits<char>::length(name));
    return Console::environment(wide.c_str());
#else
    const char* value = std::getenv(name);
    return value ? value : "";
#endif
}

std::string knownHostsFile()
{
#ifdef _WIN32
    return environment("USERPROFILE") + "\\.ssh\\known_hosts";
#else
    return environment("HOME") + "/.ssh/known_hosts";
#endif
}

// "1,5 MB": enough for a progress line.
std::string amount(std::uint64_t bytes)
{
    char text[32];
    if (bytes >= 1024 * 1024)
        std::snprintf(text, sizeof text, "%.1f MB", static_cast<double>(bytes) / (1024 * 1024));
    else
        std::snprintf(text, sizeof text, "%.1f kB", static_cast<double>(bytes) / 1024);
    std::string shown = text;
    for (char& c : shown) {
        if (c == '.')
            c = ',';
    }
    return shown;
}

} // namespace

UploadCommand::UploadCommand(FileSystem& fileSystem, TerminalWindow::Streams streams)
    : m_fileSystem(fileSystem), m_streams(streams)
{}

bool UploadCommand::needsPassword(const CommandLine& options, const UploadTarget& target) const
{
    if (target.Kind != UploadTarget::Protocol::Sftp)
        return !target.User.empty();
    return options.SshKey.empty() && environment("SSH_AUTH_SOCK").empty();
}

RemoteSession::Access UploadCommand::accessFor(const CommandLine& options,
                                               const UploadTarget& target)
{
    RemoteSession::Access access;
    access.Password = environment("KELVANE_PASSWORT");
    if (access.Password.empty() && m_streams.inputIsTerminal && needsPassword(options, target))
        access.Password =
            PasswordPrompt::ask(m_streams.in, m_streams.err,
                                "Kennwort für " + target.User + "@" + target.Host + ": ", true);
    access.KeyFile = options.SshKey.empty() ? "" : TypedPath::resolve(options.SshKey);
    access.AcceptedHostKey = options.HostKey;
    access.PinnedCertificate = options.PinCert;
    access.KnownHostsFile = knownHostsFile();
    return access;
}

int UploadCommand::run(const CommandLine& options)
{
    std::string error;
    SiteUpload::Options upload;
    upload.Target = *UploadTarget::parse(options.UploadUrl, error);
    upload.Preview = options.Preview;
    if (upload.Target.Kind == UploadTarget::Protocol::Ftp)
        m_streams.err << "Warnung: FTP ohne TLS überträgt Kennwort und Dateien unverschlüsselt.\n";
    upload.Access = accessFor(options, upload.Target);

    const auto started = std::chrono::steady_clock::now();
    SiteUpload::Progress latest;
    EventThrottle showProgress(
        [&] {
            const double seconds =
                std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
            m_streams.err << "Hochgeladen: " << latest.FilesDone << " von " << latest.FilesTotal
                          << " Dateien, " << amount(latest.BytesDone) << " von "
                          << amount(latest.BytesTotal) << ", "
                          << amount(static_cast<std::uint64_t>(
                                 seconds > 0 ? static_cast<double>(latest.BytesDone) / seconds : 0))
                          << "/s\n";
        },
        std::chrono::milliseconds(500));
    SiteUpload site(m_fileSystem, SiteUpload::outputRootOf(options.Directory), upload);
    const SiteUpload::Result result = site.run(
        [&](const SiteUpload::Progress& progress) {
            latest = progress;
            if (m_streams.errorIsTerminal)
                showProgress();
        },
        [&](const std::string& notice) { m_streams.err << "Hinweis: " << notice << '\n'; });
    return finish(result, options, upload.Target);
}

int UploadCommand::finish(const SiteUpload::Result& result, const CommandLine& options,
                          const UploadTarget& target)
{
    if (result.State == SiteUpload::Outcome::Refused) {
        m_streams.err << "kelvane-cli: " << result.Message << '\n';
        explainUntrusted(result, target);
        return Refused;
    }
    if (options.Preview) {
        for (const std::string& path : result.Planned)
            m_streams.out << path << '\n';
        m_streams.err << "Vorschau: " << result.Planned.size() << " Dateien würden gesendet, "
                      << result.Unchanged << " sind unverändert; nichts gesendet.\n";
        return AllArrived;
    }
    m_streams.out << SiteUpload::summary(result) << '\n';
    if (!result.Message.empty())
        m_streams.err << result.Message << '\n';
    return result.State == SiteUpload::Outcome::Done ? AllArrived : FilesFailed;
}

void UploadCommand::explainUntrusted(const SiteUpload::Result& result, const UploadTarget& target)
{
    if (result.UntrustedFingerprint.empty() || result.HostKeyChanged)
        return;
    const bool ssh = target.Kind == UploadTarget::Protocol::Sftp;
    m_streams.err << "Wenn dieser Fingerabdruck stimmt, erneut aufrufen mit "
                  << (ssh ? "--host-key " : "--pin-cert ") << result.UntrustedFingerprint << '\n';
}
