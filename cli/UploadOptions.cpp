#include "UploadOptions.h"

#include "CommandLine.h"
#include "UploadTarget.h"

namespace {

constexpr std::string_view Prefix = "SHA256:";

bool isBase64(const std::string& text)
{
    return !text.empty() &&
           text.find_first_not_of(
               "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/=") ==
               std::string::npos;
}

// 32 bytes as hex, with or without colons between them.
bool isHexFingerprint(const std::string& text)
{
    std::string digits;
    for (const char c : text) {
        if (c != ':')
            digits += c;
    }
    return digits.size() == 64 &&
           digits.find_first_not_of("0123456789abcdefABCDEF") == std::string::npos;
}

} // namespace

std::string UploadOptions::storeUrl(CommandLine& options, const std::string& value)
{
    std::string error;
    const std::optional<UploadTarget> target = UploadTarget::parse(value, error);
    if (!target)
        return "--upload: " + error;
    if (target->Kind == UploadTarget::Protocol::Sftp && target->User.empty())
        return "--upload: Bei sftp:// gehört der Benutzer in die Adresse: "
               "sftp://benutzer@rechner/ordner.";
    options.UploadUrl = value;
    return {};
}

std::string UploadOptions::storeSshKey(CommandLine& options, const std::string& value)
{
    if (value.empty())
        return "--ssh-key braucht einen Dateinamen.";
    options.SshKey = value;
    return {};
}

std::string UploadOptions::storeHostKey(CommandLine& options, const std::string& value)
{
    if (value.rfind(Prefix, 0) != 0 || !isBase64(value.substr(Prefix.size())))
        return "--host-key erwartet den Fingerabdruck, wie ssh-keygen -l ihn zeigt: "
               "SHA256:…, nicht \"" +
               value + "\".";
    // ssh-keygen shows it without Base64's padding.
    options.HostKey = value.substr(0, value.find_last_not_of('=') + 1);
    return {};
}

std::string UploadOptions::storePinCert(CommandLine& options, const std::string& value)
{
    if (value.rfind(Prefix, 0) != 0 || !isHexFingerprint(value.substr(Prefix.size())))
        return "--pin-cert erwartet den SHA-256-Fingerabdruck des Zertifikats, wie openssl "
               "x509 -fingerprint -sha256 ihn zeigt: SHA256:AB:CD:…, nicht \"" +
               value + "\".";
    options.PinCert = value;
    return {};
}

std::string UploadOptions::conflict(const CommandLine& options, bool urlGiven)
{
    const bool uploadOnly = options.Preview || !options.SshKey.empty() ||
                            !options.HostKey.empty() || !options.PinCert.empty();
    if (options.UploadUrl.empty())
        return uploadOnly ? "--preview, --ssh-key, --host-key und --pin-cert gehören zu --upload."
                          : std::string();
    if (urlGiven || !options.CheckUrl.empty() || options.DryRun || !options.Servers.empty() ||
        !options.ReportPath.empty() || !options.MapPath.empty() || options.UserTemplate ||
        options.Types != CommandLine::DefaultTypes || !options.AppendSubpath)
        return "--upload lädt den fertigen Ordner VERZEICHNIS_Moved hoch und geht nur mit "
               "--preview, --ssh-key, --host-key und --pin-cert zusammen.";
    if (options.Directory.empty())
        return "Das Verzeichnis fehlt.";
    return {};
}

std::string UploadOptions::help()
{
    return "Hochladen:\n"
           "  --upload ZIEL_URL   den Inhalt von VERZEICHNIS_Moved (Seiten, .htaccess,\n"
           "                      web.config, _redirects) in den Ordner ZIEL_URL laden:\n"
           "                        sftp://benutzer@rechner[:port]/ordner\n"
           "                        ftps://benutzer@rechner[:port]/ordner (FTP mit TLS)\n"
           "                        ftp://benutzer@rechner[:port]/ordner (unverschlüsselt)\n"
           "                      Gesendet wird nur, was neu oder geändert ist oder auf dem\n"
           "                      Server fehlt; jede Datei erst unter einem vorläufigen\n"
           "                      Namen, dann umbenannt. Nichts wird gelöscht. Vermerkt in\n"
           "                      VERZEICHNIS_Moved.upload.csv. Das Kennwort kommt aus der\n"
           "                      Umgebungsvariablen KELVANE_PASSWORT oder wird auf dem\n"
           "                      Terminal erfragt.\n"
           "  --preview           nur auflisten, was gesendet würde (ein Pfad je Zeile)\n"
           "  --ssh-key DATEI     privater SSH-Schlüssel (sonst SSH-Agent oder Kennwort)\n"
           "  --host-key SHA256:… einen SSH-Hostschlüssel annehmen, der nicht in\n"
           "                      ~/.ssh/known_hosts steht (Fingerabdruck wie ssh-keygen -l)\n"
           "  --pin-cert SHA256:… genau dieses FTPS-Zertifikat annehmen, auch selbst\n"
           "                      signiert (Fingerabdruck wie openssl x509 -fingerprint\n"
           "                      -sha256)\n";
}
