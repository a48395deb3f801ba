#include "RemoteSession.h"

#include "CurlHandles.h"
#include "Sha256.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <openssl/evp.h>
#include <openssl/ssl.h>
#include <openssl/x509.h>

namespace {

constexpr long ConnectTimeoutSeconds = 20;
constexpr long StallSeconds = 30;

// "SHA256:AB:cd…" and "SHA256:abcd…" alike: the hex digits in upper case.
std::string certificateDigits(const std::string& fingerprint)
{
    std::string digits;
    for (std::size_t i = fingerprint.rfind("SHA256:", 0) == 0 ? 7 : 0; i < fingerprint.size();
         ++i) {
        if (fingerprint[i] != ':')
            digits += static_cast<char>(std::toupper(static_cast<unsigned char>(fingerprint[i])));
    }
    return digits;
}

std::string certificateFingerprint(X509* certificate)
{
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int length = 0;
    if (!X509_digest(certificate, EVP_sha256(), digest, &length))
        return {};
    static constexpr char Digits[] = "0123456789ABCDEF";
    std::string text = "SHA256:";
    for (unsigned int i = 0; i < length; ++i) {
        if (i > 0)
            text += ':';
        text += Digits[digest[i] >> 4];
        text += Digits[digest[i] & 15];
    }
    return text;
}

// "/a b/ü" as "/a%20b/%C3%BC": every level escaped, the slashes kept.
std::string escapedPath(CURL* easy, const std::string& path)
{
    std::string escaped;
    std::size_t start = 0;
    while (start <= path.size()) {
        const std::size_t slash = std::min(path.find('/', start), path.size());
        const std::string level = path.substr(start, slash - start);
        if (char* text = curl_easy_escape(easy, level.c_str(), static_cast<int>(level.size()))) {
            escaped += level == "~" ? "~" : text;
            curl_free(text);
        }
        if (slash < path.size())
            escaped += '/';
        start = slash + 1;
    }
    return escaped;
}

std::string joined(const std::string& folder, const std::string& name)
{
    return folder.empty() || folder.back() == '/' ? folder + name : folder + "/" + name;
}

// A path as an SFTP command argument: in quotes, quote and backslash escaped.
std::string quotedPath(const std::string& path)
{
    std::string quoted = "\"";
    for (const char c : path) {
        if (c == '"' || c == '\\')
            quoted += '\\';
        quoted += c;
    }
    return quoted + "\"";
}

struct SlistDeleter
{
    void operator()(curl_slist* list) const { curl_slist_free_all(list); }
};

std::unique_ptr<curl_slist, SlistDeleter> slistOf(const std::vector<std::string>& lines)
{
    curl_slist* list = nullptr;
    for (const std::string& line : lines)
        list = curl_slist_append(list, line.c_str());
    return std::unique_ptr<curl_slist, SlistDeleter>(list);
}

struct Source
{
    std::string_view Bytes;
    std::size_t Sent = 0;
};

std::size_t readSource(char* buffer, std::size_t size, std::size_t count, void* data)
{
    Source& source = *static_cast<Source*>(data);
    const std::size_t length = std::min(size * count, source.Bytes.size() - source.Sent);
    std::copy_n(source.Bytes.data() + source.Sent, length, buffer);
    source.Sent += length;
    return length;
}

std::size_t collectText(char* data, std::size_t size, std::size_t count, void* text)
{
    static_cast<std::string*>(text)->append(data, size * count);
    return size * count;
}

int cancelWhenAsked(void* cancel, curl_off_t, curl_off_t, curl_off_t, curl_off_t)
{
    const auto* flag = static_cast<const std::atomic<bool>*>(cancel);
    return flag && flag->load() ? 1 : 0;
}

} // namespace

struct RemoteSession::Connection
{
    UploadTarget Target;
    Access Credentials;
    const std::atomic<bool>* Cancel = nullptr;
    CURL* Easy = nullptr;
    char ErrorText[CURL_ERROR_SIZE] = {};
    std::string Untrusted;
    bool KeyChanged = false;
    bool KeyRefused = false;
    bool CertificateRefused = false;

    static thread_local Connection* Current;

    void prepare(const std::string& url);
    Answer perform();
    Answer failure(CURLcode code) const;
    bool isSftp() const { return Target.Kind == UploadTarget::Protocol::Sftp; }

    static int checkHostKey(CURL*, const curl_khkey* known, const curl_khkey* found,
                            curl_khmatch match, void* data);
    static CURLcode prepareTls(CURL*, void* context, void*);
    static int verifyCertificate(int preverified, X509_STORE_CTX* store);
};

thread_local RemoteSession::Connection* RemoteSession::Connection::Current = nullptr;

// ssh's check: a listed key must match; an unlisted one passes only when the
// user accepted its fingerprint. The key is never written to known_hosts.
int RemoteSession::Connection::checkHostKey(CURL*, const curl_khkey*, const curl_khkey* found,
                                            curl_khmatch match, void* data)
{
    Connection& self = *static_cast<Connection*>(data);
    if (match == CURLKHMATCH_OK)
        return CURLKHSTAT_FINE;
    std::string fingerprint;
    if (found && found->len > 0)
        fingerprint = "SHA256:" + Sha256::base64(std::string_view(found->key, found->len));
    self.Untrusted = fingerprint;
    if (match == CURLKHMATCH_MISMATCH) {
        self.KeyChanged = true;
        self.KeyRefused = true;
        return CURLKHSTAT_REJECT;
    }
    if (!fingerprint.empty() && fingerprint == self.Credentials.AcceptedHostKey) {
        self.Untrusted.clear();
        return CURLKHSTAT_FINE;
    }
    self.KeyRefused = true;
    return CURLKHSTAT_REJECT;
}

CURLcode RemoteSession::Connection::prepareTls(CURL*, void* context, void*)
{
    SSL_CTX_set_verify(static_cast<SSL_CTX*>(context), SSL_VERIFY_PEER, &verifyCertificate);
    return CURLE_OK;
}

// Keeps the server certificate's fingerprint for the message, and with a pin
// accepts exactly that certificate, whoever signed it, and no other.
int RemoteSession::Connection::verifyCertificate(int preverified, X509_STORE_CTX* store)
{
    Connection* self = Current;
    X509* leaf = X509_STORE_CTX_get0_cert(store);
    if (!self || !leaf)
        return preverified;
    const std::string fingerprint = certificateFingerprint(leaf);
    const std::string& pin = self->Credentials.PinnedCertificate;
    if (pin.empty()) {
        if (!preverified) {
            self->Untrusted = fingerprint;
            self->CertificateRefused = true;
        }
        return preverified;
    }
    if (certificateDigits(fingerprint) == certificateDigits(pin)) {
        X509_STORE_CTX_set_error(store, X509_V_OK);
        return 1;
    }
    self->Untrusted = fingerprint;
    self->CertificateRefused = true;
    return 0;
}

void RemoteSession::Connection::prepare(const std::string& url)
{
    curl_easy_reset(Easy);
    ErrorText[0] = '\0';
    KeyChanged = KeyRefused = CertificateRefused = false;
    curl_easy_setopt(Easy, CURLOPT_URL, url.c_str());
    curl_easy_setopt(Easy, CURLOPT_ERRORBUFFER, ErrorText);
    curl_easy_setopt(Easy, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(Easy, CURLOPT_PROTOCOLS_STR, isSftp() ? "sftp" : "ftp");
    curl_easy_setopt(Easy, CURLOPT_CONNECTTIMEOUT, ConnectTimeoutSeconds);
    curl_easy_setopt(Easy, CURLOPT_LOW_SPEED_LIMIT, 1L);
    curl_easy_setopt(Easy, CURLOPT_LOW_SPEED_TIME, StallSeconds);
    curl_easy_setopt(Easy, CURLOPT_SERVER_RESPONSE_TIMEOUT, StallSeconds);
    curl_easy_setopt(Easy, CURLOPT_NOPROGRESS, 0L);
    curl_easy_setopt(Easy, CURLOPT_XFERINFOFUNCTION, &cancelWhenAsked);
    curl_easy_setopt(Easy, CURLOPT_XFERINFODATA, Cancel);
    curl_easy_setopt(Easy, CURLOPT_FTP_CREATE_MISSING_DIRS,
                     static_cast<long>(CURLFTP_CREATE_DIR_RETRY));
    if (!Target.User.empty())
        curl_easy_setopt(Easy, CURLOPT_USERNAME, Target.User.c_str());
    if (!Credentials.Password.empty())
        curl_easy_setopt(Easy, CURLOPT_PASSWORD, Credentials.Password.c_str());
    if (isSftp()) {
        curl_easy_setopt(Easy, CURLOPT_SSH_AUTH_TYPES,
                         static_cast<long>(CURLSSH_AUTH_PUBLICKEY | CURLSSH_AUTH_PASSWORD |
                                           CURLSSH_AUTH_AGENT | CURLSSH_AUTH_KEYBOARD));
        curl_easy_setopt(Easy, CURLOPT_SSH_KNOWNHOSTS, Credentials.KnownHostsFile.c_str());
        curl_easy_setopt(Easy, CURLOPT_SSH_KEYFUNCTION, &checkHostKey);
        curl_easy_setopt(Easy, CURLOPT_SSH_KEYDATA, this);
        if (!Credentials.KeyFile.empty()) {
            const std::string publicKey = Credentials.KeyFile + ".pub";
            std::error_code error;
            // The empty text lets libssh2 take the public key from the private one.
            const bool havePublic = std::filesystem::is_regular_file(publicKey, error);
            curl_easy_setopt(Easy, CURLOPT_SSH_PRIVATE_KEYFILE, Credentials.KeyFile.c_str());
            curl_easy_setopt(Easy, CURLOPT_SSH_PUBLIC_KEYFILE, havePublic ? publicKey.c_str() : "");
            if (!Credentials.Password.empty())
                curl_easy_setopt(Easy, CURLOPT_KEYPASSWD, Credentials.Password.c_str());
        }
        return;
    }
    curl_easy_setopt(Easy, CURLOPT_USE_SSL,
                     static_cast<long>(Target.Kind == UploadTarget::Protocol::Ftps
                                           ? CURLUSESSL_ALL
                                           : CURLUSESSL_NONE));
    if (Target.Kind == UploadTarget::Protocol::Ftps) {
        curl_easy_setopt(Easy, CURLOPT_SSL_CTX_FUNCTION, &prepareTls);
        // A pinned certificate is trusted as itself, whatever name it carries.
        if (!Credentials.PinnedCertificate.empty())
            curl_easy_setopt(Easy, CURLOPT_SSL_VERIFYHOST, 0L);
    }
}

RemoteSession::Answer RemoteSession::Connection::perform()
{
    Current = this;
    const CURLcode code = curl_easy_perform(Easy);
    Current = nullptr;
    return failure(code);
}

RemoteSession::Answer RemoteSession::Connection::failure(CURLcode code) const
{
    const std::string detail = ErrorText[0] ? ErrorText : curl_easy_strerror(code);
    switch (code) {
    case CURLE_OK:
        return {Status::Ok, {}};
    case CURLE_ABORTED_BY_CALLBACK:
        return {Status::Cancelled, "abgebrochen"};
    case CURLE_PEER_FAILED_VERIFICATION:
    case CURLE_SSL_CONNECT_ERROR:
    case CURLE_USE_SSL_FAILED:
    case CURLE_SSL_CACERT_BADFILE:
        if (KeyChanged)
            return {Status::Untrusted,
                    "Der Hostschlüssel des Servers hat sich geändert (" + Untrusted +
                        "); er passt nicht zu known_hosts. Verbindung abgelehnt."};
        if (KeyRefused)
            return {Status::Untrusted, "Der Hostschlüssel des Servers ist unbekannt: " + Untrusted +
                                           ". Verbindung abgelehnt."};
        if (CertificateRefused)
            return {Status::Untrusted, "Dem Zertifikat des Servers wird nicht vertraut: " +
                                           Untrusted + ". Verbindung abgelehnt."};
        return {Status::Untrusted, "Sichere Verbindung abgelehnt: " + detail};
    case CURLE_LOGIN_DENIED:
        return {Status::Untrusted, "Anmeldung abgelehnt: " + detail};
    case CURLE_COULDNT_RESOLVE_HOST:
        return {Status::Lost, "Rechner nicht gefunden: " + detail};
    case CURLE_COULDNT_CONNECT:
        return {Status::Lost, "keine Verbindung: " + detail};
    case CURLE_OPERATION_TIMEDOUT:
        return {Status::Lost, "Zeitüberschreitung"};
    case CURLE_SEND_ERROR:
    case CURLE_RECV_ERROR:
    case CURLE_GOT_NOTHING:
    case CURLE_PARTIAL_FILE:
    case CURLE_SSH:
    case CURLE_FTP_ACCEPT_FAILED:
    case CURLE_FTP_ACCEPT_TIMEOUT:
    case CURLE_FTP_CANT_GET_HOST:
    case CURLE_FTP_WEIRD_PASV_REPLY:
    case CURLE_WEIRD_SERVER_REPLY:
    case CURLE_AGAIN:
        if (KeyRefused)
            return {Status::Untrusted, "Der Hostschlüssel des Servers ist unbekannt: " + Untrusted +
                                           ". Verbindung abgelehnt."};
        return {Status::Lost, "Verbindung unterbrochen: " + detail};
    case CURLE_QUOTE_ERROR:
        return {Status::CommandFailed, detail};
    case CURLE_REMOTE_ACCESS_DENIED:
        return {Status::Refused, "Zugriff verweigert: " + detail};
    case CURLE_REMOTE_DISK_FULL:
        return {Status::Refused, "kein Platz mehr auf dem Server"};
    default:
        return {Status::Refused, "vom Server abgelehnt: " + detail};
    }
}

RemoteSession::RemoteSession(const UploadTarget& target, Access access,
                             const std::atomic<bool>* cancel)
    : m_connection(std::make_unique<Connection>())
{
    CurlHandles::initialiseOnce();
    m_connection->Target = target;
    m_connection->Credentials = std::move(access);
    m_connection->Cancel = cancel;
    m_connection->Easy = curl_easy_init();
}

RemoteSession::~RemoteSession()
{
    if (m_connection->Easy)
        curl_easy_cleanup(m_connection->Easy);
}

RemoteSession::Answer RemoteSession::list(const std::string& folder, std::string& listing)
{
    Connection& c = *m_connection;
    c.prepare(c.Target.curlBase() + escapedPath(c.Easy, joined(folder, "")));
    listing.clear();
    curl_easy_setopt(c.Easy, CURLOPT_WRITEFUNCTION, &collectText);
    curl_easy_setopt(c.Easy, CURLOPT_WRITEDATA, &listing);
    // A folder that does not exist yet is empty, not a failure.
    curl_easy_setopt(c.Easy, CURLOPT_FTP_CREATE_MISSING_DIRS, 0L);
    // Plain LIST leaves out .htaccess and the temporary names.
    if (!c.isSftp())
        curl_easy_setopt(c.Easy, CURLOPT_CUSTOMREQUEST, "LIST -a");
    return c.perform();
}

RemoteSession::Answer RemoteSession::put(const std::string& folder, const std::string& name,
                                         std::string_view bytes,
                                         const std::vector<std::string>& commands)
{
    Connection& c = *m_connection;
    c.prepare(c.Target.curlBase() + escapedPath(c.Easy, joined(folder, name)));
    Source source{bytes};
    const auto after = slistOf(commands);
    curl_easy_setopt(c.Easy, CURLOPT_UPLOAD, 1L);
    curl_easy_setopt(c.Easy, CURLOPT_READFUNCTION, &readSource);
    curl_easy_setopt(c.Easy, CURLOPT_READDATA, &source);
    curl_easy_setopt(c.Easy, CURLOPT_INFILESIZE_LARGE, static_cast<curl_off_t>(bytes.size()));
    curl_easy_setopt(c.Easy, CURLOPT_POSTQUOTE, after.get());
    return c.perform();
}

RemoteSession::Answer RemoteSession::run(const std::string& folder,
                                         const std::vector<std::string>& commands)
{
    Connection& c = *m_connection;
    // A listing of the folder carries the commands: FTP runs them there.
    std::string ignored;
    c.prepare(c.Target.curlBase() + escapedPath(c.Easy, joined(folder, "")));
    const auto after = slistOf(commands);
    curl_easy_setopt(c.Easy, CURLOPT_WRITEFUNCTION, &collectText);
    curl_easy_setopt(c.Easy, CURLOPT_WRITEDATA, &ignored);
    curl_easy_setopt(c.Easy, CURLOPT_POSTQUOTE, after.get());
    return c.perform();
}

std::vector<std::string> RemoteSession::renameCommands(const std::string& folder,
                                                       const std::string& from,
                                                       const std::string& to, bool replace) const
{
    if (m_connection->isSftp()) {
        std::vector<std::string> commands;
        if (replace)
            commands.push_back("*rm " + quotedPath(joined(folder, to)));
        commands.push_back("rename " + quotedPath(joined(folder, from)) + " " +
                           quotedPath(joined(folder, to)));
        return commands;
    }
    // FTP runs them in the file's folder after the transfer; RNTO replaces.
    return {"RNFR " + from, "RNTO " + to};
}

std::string RemoteSession::removeCommand(const std::string& folder, const std::string& name) const
{
    if (m_connection->isSftp())
        return "rm " + quotedPath(joined(folder, name));
    return "DELE " + name;
}

const std::string& RemoteSession::untrustedFingerprint() const
{
    return m_connection->Untrusted;
}

bool RemoteSession::hostKeyChanged() const
{
    return m_connection->KeyChanged;
}
