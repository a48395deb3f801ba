#include "HttpCheck.h"

#include "PageTrail.h"

#include <curl/curl.h>
#include <memory>
#include <mutex>
#include <optional>

namespace {

// Enough of a page for its head, where refresh and canonical link stand.
constexpr std::size_t BodyLimit = 256 * 1024;

void initialiseCurlOnce()
{
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

struct EasyDeleter
{
    void operator()(CURL* handle) const { curl_easy_cleanup(handle); }
};

struct MultiDeleter
{
    void operator()(CURLM* handle) const { curl_multi_cleanup(handle); }
};

// One connection slot: the page it works on and the answer coming in.
struct Slot
{
    std::unique_ptr<CURL, EasyDeleter> Easy;
    std::size_t Page = 0;
    std::optional<PageTrail> Trail;
    std::string Body;
    char ErrorText[CURL_ERROR_SIZE] = {};
};

std::size_t collectBody(char* data, std::size_t size, std::size_t count, void* slot)
{
    std::string& body = static_cast<Slot*>(slot)->Body;
    const std::size_t bytes = size * count;
    if (body.size() < BodyLimit)
        body.append(data, std::min(bytes, BodyLimit - body.size()));
    return bytes;
}

std::string failureText(CURLcode code, const Slot& slot)
{
    if (code == CURLE_OPERATION_TIMEDOUT)
        return "Zeitüberschreitung";
    if (code == CURLE_COULDNT_CONNECT)
        return "keine Verbindung";
    if (code == CURLE_COULDNT_RESOLVE_HOST)
        return "Rechner nicht gefunden";
    return slot.ErrorText[0] ? slot.ErrorText : curl_easy_strerror(code);
}

PageTrail::Answer answerOf(CURLcode code, Slot& slot)
{
    PageTrail::Answer answer;
    if (code != CURLE_OK) {
        answer.Failure = failureText(code, slot);
        return answer;
    }
    CURL* easy = slot.Easy.get();
    curl_easy_getinfo(easy, CURLINFO_RESPONSE_CODE, &answer.Status);
    char* location = nullptr;
    if (curl_easy_getinfo(easy, CURLINFO_REDIRECT_URL, &location) == CURLE_OK && location)
        answer.Location = location;
    answer.Body = std::move(slot.Body);
    return answer;
}

// The running check: the pages still to start and the slots at work.
class Transfers
{
public:
    Transfers(const std::vector<HttpCheck::Page>& pages, const HttpCheck::Limits& limits,
              const HttpCheck::Progress& progress)
        : m_pages(pages), m_limits(limits), m_progress(progress), m_multi(curl_multi_init())
    {
        m_results.resize(pages.size());
        for (std::size_t i = 0; i < pages.size(); ++i)
            m_results[i] = {CheckClass::Fehler, pages[i].OldUrl, pages[i].OldUrl, 0, "abgebrochen"};
        m_slots.resize(std::min(limits.Parallel, pages.size()));
    }

    ~Transfers()
    {
        for (Slot& slot : m_slots) {
            if (slot.Easy)
                curl_multi_remove_handle(m_multi.get(), slot.Easy.get());
        }
    }

    std::vector<CheckResult> run(const std::atomic<bool>* cancel)
    {
        const auto deadline = std::chrono::steady_clock::now() + m_limits.Total;
        for (Slot& slot : m_slots)
            startNextPage(slot);
        int running = 1;
        while (m_busy > 0) {
            if (cancel && cancel->load())
                return std::move(m_results);
            if (std::chrono::steady_clock::now() >= deadline) {
                abandonAll("Gesamtzeit überschritten");
                break;
            }
            curl_multi_perform(m_multi.get(), &running);
            collectFinished();
            if (m_busy > 0)
                curl_multi_poll(m_multi.get(), nullptr, 0, 100, nullptr);
        }
        return std::move(m_results);
    }

private:
    void startNextPage(Slot& slot)
    {
        if (m_nextPage >= m_pages.size())
            return;
        slot.Page = m_nextPage++;
        slot.Trail.emplace(m_pages[slot.Page].OldUrl, m_pages[slot.Page].PageUrl);
        ++m_busy;
        request(slot);
    }

    void request(Slot& slot)
    {
        if (!slot.Easy)
            slot.Easy.reset(curl_easy_init());
        CURL* easy = slot.Easy.get();
        curl_easy_reset(easy);
        slot.Body.clear();
        slot.ErrorText[0] = '\0';
        curl_easy_setopt(easy, CURLOPT_URL, slot.Trail->nextUrl().c_str());
        curl_easy_setopt(easy, CURLOPT_PRIVATE, &slot);
        curl_easy_setopt(easy, CURLOPT_WRITEFUNCTION, &collectBody);
        curl_easy_setopt(easy, CURLOPT_WRITEDATA, &slot);
        curl_easy_setopt(easy, CURLOPT_ERRORBUFFER, slot.ErrorText);
        curl_easy_setopt(easy, CURLOPT_NOSIGNAL, 1L);
        // Every hop is classified here, so curl must not follow on its own.
        curl_easy_setopt(easy, CURLOPT_FOLLOWLOCATION, 0L);
        curl_easy_setopt(easy, CURLOPT_TIMEOUT_MS, static_cast<long>(m_limits.PerRequest.count()));
        curl_easy_setopt(easy, CURLOPT_PROTOCOLS_STR, "http,https");
        curl_easy_setopt(easy, CURLOPT_USERAGENT, "Kelvane/" KELVANE_VERSION " (Umzug pruefen)");
        curl_easy_setopt(easy, CURLOPT_ACCEPT_ENCODING, "");
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
            slot->Trail->take(answerOf(code, *slot));
            if (slot->Trail->finished()) {
                finishPage(*slot);
                startNextPage(*slot);
            } else {
                request(*slot);
            }
        }
    }

    void finishPage(Slot& slot)
    {
        m_results[slot.Page] = slot.Trail->result();
        slot.Trail.reset();
        --m_busy;
        if (m_progress)
            m_progress(slot.Page, m_results[slot.Page]);
    }

    void abandonAll(const std::string& reason)
    {
        for (Slot& slot : m_slots) {
            if (!slot.Trail)
                continue;
            curl_multi_remove_handle(m_multi.get(), slot.Easy.get());
            slot.Trail->abandon(reason);
            finishPage(slot);
        }
        for (; m_nextPage < m_pages.size(); ++m_nextPage) {
            m_results[m_nextPage].Reason = reason;
            if (m_progress)
                m_progress(m_nextPage, m_results[m_nextPage]);
        }
    }

    const std::vector<HttpCheck::Page>& m_pages;
    const HttpCheck::Limits& m_limits;
    const HttpCheck::Progress& m_progress;
    std::unique_ptr<CURLM, MultiDeleter> m_multi;
    std::vector<Slot> m_slots;
    std::vector<CheckResult> m_results;
    std::size_t m_nextPage = 0;
    std::size_t m_busy = 0;
};

} // namespace

HttpCheck::HttpCheck() : HttpCheck(Limits{}) {}

HttpCheck::HttpCheck(Limits limits) : m_limits(limits)
{
    initialiseCurlOnce();
}

std::vector<CheckResult> HttpCheck::run(const std::vector<Page>& pages, const Progress& progress,
                                        const std::atomic<bool>* cancel) const
{
    if (pages.empty())
        return {};
    return Transfers(pages, m_limits, progress).run(cancel);
}
