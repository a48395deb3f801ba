#include "HttpTransfers.h"

#include "CurlHandles.h"

#include <algorithm>
#include <cctype>

namespace {

// One connection slot: the trail it works on and the answer coming in.
struct Slot
{
    CurlHandles::Easy Easy;
    std::size_t Trail = 0;
    bool Busy = false;
    std::size_t BodyLimit = 0;
    HttpAnswer Answer;
};

std::size_t collectBody(char* data, std::size_t size, std::size_t count, void* slot)
{
    auto& target = *static_cast<Slot*>(slot);
    std::string& body = target.Answer.Body;
    const std::size_t bytes = size * count;
    if (body.size() < target.BodyLimit)
        body.append(data, std::min(bytes, target.BodyLimit - body.size()));
    return bytes;
}

std::string_view trimmed(std::string_view text)
{
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front())))
        text.remove_prefix(1);
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back())))
        text.remove_suffix(1);
    return text;
}

bool namedHeader(std::string_view line, std::string_view name)
{
    if (line.size() <= name.size() || line[name.size()] != ':')
        return false;
    for (std::size_t i = 0; i < name.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(line[i])) != name[i])
            return false;
    }
    return true;
}

// The Location as sent: libcurl's own reading of it fails for schemes it
// does not know, such as javascript:.
std::size_t collectHeader(char* data, std::size_t size, std::size_t count, void* slot)
{
    HttpAnswer& answer = static_cast<Slot*>(slot)->Answer;
    const std::string_view line(data, size * count);
    if (namedHeader(line, "location"))
        answer.Location = trimmed(line.substr(9));
    else if (namedHeader(line, "x-robots-tag"))
        answer.RobotsTag += std::string(answer.RobotsTag.empty() ? "" : ",") +
                            std::string(trimmed(line.substr(13)));
    return size * count;
}

class Transfers
{
public:
    Transfers(std::vector<std::unique_ptr<HopTrail>>& trails,
              const HttpTransfers::Settings& settings, const HttpTransfers::Finished& finished)
        : m_trails(trails), m_settings(settings), m_finished(finished), m_multi(curl_multi_init())
    {
        m_slots.resize(std::min(settings.Parallel, trails.size()));
        for (const std::string& entry : settings.ConnectTo)
            m_connectTo.reset(curl_slist_append(m_connectTo.release(), entry.c_str()));
    }

    ~Transfers()
    {
        for (Slot& slot : m_slots) {
            if (slot.Busy)
                curl_multi_remove_handle(m_multi.get(), slot.Easy.get());
        }
    }

    bool run(const std::atomic<bool>* cancel)
    {
        for (Slot& slot : m_slots)
            startNextTrail(slot);
        int running = 0;
        while (m_busy > 0) {
            if (cancel && cancel->load())
                return false;
            if (HttpTransfers::Clock::now() >= m_settings.Deadline) {
                abandonAll("Gesamtzeit überschritten");
                break;
            }
            curl_multi_perform(m_multi.get(), &running);
            collectFinished();
            if (m_busy > 0)
                curl_multi_poll(m_multi.get(), nullptr, 0, 100, nullptr);
        }
        return true;
    }

private:
    void startNextTrail(Slot& slot)
    {
        if (m_nextTrail >= m_trails.size())
            return;
        slot.Trail = m_nextTrail++;
        ++m_busy;
        request(slot);
    }

    void request(Slot& slot)
    {
        if (!slot.Easy)
            slot.Easy.reset(curl_easy_init());
        CURL* easy = slot.Easy.get();
        curl_easy_reset(easy);
        slot.Answer = HttpAnswer{};
        slot.BodyLimit = m_trails[slot.Trail]->bodyLimit();
        slot.Busy = true;
        CurlHandles::setRequestOptions(easy, m_trails[slot.Trail]->nextUrl(), &slot, &collectBody,
                                       m_settings.PerRequest, "Umzug pruefen");
        curl_easy_setopt(easy, CURLOPT_HEADERFUNCTION, &collectHeader);
        curl_easy_setopt(easy, CURLOPT_HEADERDATA, &slot);
        // Every hop is judged by the trail, so curl must not follow on its own.
        curl_easy_setopt(easy, CURLOPT_FOLLOWLOCATION, 0L);
        if (m_connectTo)
            curl_easy_setopt(easy, CURLOPT_CONNECT_TO, m_connectTo.get());
        curl_multi_add_handle(m_multi.get(), easy);
    }

    void collectFinished()
    {
        int queued = 0;
        while (CURLMsg* message = curl_multi_info_read(m_multi.get(), &queued)) {
            if (message->msg != CURLMSG_DONE)
                continue;
            Slot* slot = nullptr;
            curl_easy_getinfo(message->easy_handle, CURLINFO_PRIVATE, &slot);
            const CURLcode code = message->data.result;
            curl_multi_remove_handle(m_multi.get(), message->easy_handle);
            slot->Busy = false;
            HopTrail& trail = *m_trails[slot->Trail];
            trail.take(answerOf(code, *slot));
            if (trail.finished()) {
                finishTrail(*slot);
                startNextTrail(*slot);
            } else {
                request(*slot);
            }
        }
    }

    static HttpAnswer answerOf(CURLcode code, Slot& slot)
    {
        HttpAnswer answer = std::move(slot.Answer);
        if (code != CURLE_OK) {
            answer = HttpAnswer{};
            answer.Failure = HttpTransfers::failureText(code);
            return answer;
        }
        CURL* easy = slot.Easy.get();
        curl_easy_getinfo(easy, CURLINFO_RESPONSE_CODE, &answer.Status);
        char* type = nullptr;
        if (curl_easy_getinfo(easy, CURLINFO_CONTENT_TYPE, &type) == CURLE_OK && type)
            answer.ContentType = type;
        return answer;
    }

    void finishTrail(Slot& slot)
    {
        --m_busy;
        if (m_finished)
            m_finished(slot.Trail);
    }

    void abandonAll(const std::string& reason)
    {
        for (Slot& slot : m_slots) {
            if (!slot.Busy)
                continue;
            curl_multi_remove_handle(m_multi.get(), slot.Easy.get());
            slot.Busy = false;
            m_trails[slot.Trail]->abandon(reason);
            finishTrail(slot);
        }
        for (; m_nextTrail < m_trails.size(); ++m_nextTrail) {
            m_trails[m_nextTrail]->abandon(reason);
            if (m_finished)
                m_finished(m_nextTrail);
        }
    }

    std::vector<std::unique_ptr<HopTrail>>& m_trails;
    const HttpTransfers::Settings& m_settings;
    const HttpTransfers::Finished& m_finished;
    CurlHandles::Multi m_multi;
    CurlHandles::List m_connectTo;
    std::vector<Slot> m_slots;
    std::size_t m_nextTrail = 0;
    std::size_t m_busy = 0;
};

} // namespace

bool HttpTransfers::run(std::vector<std::unique_ptr<HopTrail>>& trails, const Settings& settings,
                        const Finished& finished, const std::atomic<bool>* cancel)
{
    CurlHandles::initialiseOnce();
    if (trails.empty())
        return true;
    return Transfers(trails, settings, finished).run(cancel);
}

std::string HttpTransfers::failureText(int curlCode)
{
    struct Failure
    {
        CURLcode Code;
        const char* Text;
    };
    // libcurl's own texts are English; these are the failures a web server
    // or the way to it causes.
    static constexpr Failure Failures[] = {
        {CURLE_OPERATION_TIMEDOUT, "Zeitüberschreitung"},
        {CURLE_COULDNT_CONNECT, "keine Verbindung"},
        {CURLE_COULDNT_RESOLVE_HOST, "Rechner nicht gefunden"},
        {CURLE_COULDNT_RESOLVE_PROXY, "Proxy nicht gefunden"},
        {CURLE_UNSUPPORTED_PROTOCOL, "Protokoll nicht unterstützt"},
        {CURLE_URL_MALFORMAT, "ungültige Adresse"},
        {CURLE_SSL_CONNECT_ERROR, "TLS-Verbindung gescheitert"},
        {CURLE_PEER_FAILED_VERIFICATION, "Zertifikat nicht vertrauenswürdig"},
        {CURLE_SSL_CERTPROBLEM, "Zertifikat fehlerhaft"},
        {CURLE_GOT_NOTHING, "leere Antwort"},
        {CURLE_WEIRD_SERVER_REPLY, "unverständliche Antwort"},
        {CURLE_PARTIAL_FILE, "Antwort unvollständig"},
        {CURLE_BAD_CONTENT_ENCODING, "Kompression fehlerhaft"},
        {CURLE_RECV_ERROR, "Fehler beim Empfangen"},
        {CURLE_SEND_ERROR, "Fehler beim Senden"},
        {CURLE_HTTP2, "HTTP/2-Fehler"},
        {CURLE_HTTP2_STREAM, "HTTP/2-Fehler"},
        {CURLE_TOO_MANY_REDIRECTS, "zu viele Weiterleitungen"},
        {CURLE_OUT_OF_MEMORY, "kein Speicher mehr"},
    };
    for (const Failure& failure : Failures) {
        if (failure.Code == curlCode)
            return failure.Text;
    }
    return "Übertragungsfehler (curl " + std::to_string(curlCode) + ")";
}
