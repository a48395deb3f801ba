#include "WebFetcher.h"

#include "CurlHandles.h"

#include <memory>

namespace {

struct Slot
{
    CurlHandles::Easy Easy{curl_easy_init()};
    std::size_t Index = 0;
    bool Busy = false;
    std::size_t Limit = 0;
    std::string Body;
    char ErrorText[CURL_ERROR_SIZE] = {};
};

std::size_t collectBody(char* data, std::size_t size, std::size_t count, void* target)
{
    Slot& slot = *static_cast<Slot*>(target);
    const std::size_t bytes = size * count;
    if (slot.Body.size() < slot.Limit)
        slot.Body.append(data, std::min(bytes, slot.Limit - slot.Body.size()));
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

class Transfers
{
public:
    Transfers(const std::vector<std::string>& urls, const WebFetcher::Limits& limits,
              const WebFetcher::Progress& progress)
        : m_urls(urls), m_limits(limits), m_progress(progress), m_multi(curl_multi_init()),
          m_answers(urls.size()), m_slots(std::min(limits.Parallel, urls.size()))
    {
        for (WebFetcher::Answer& answer : m_answers)
            answer.Failure = "abgebrochen";
    }

    ~Transfers()
    {
        for (Slot& slot : m_slots) {
            if (slot.Busy)
                curl_multi_remove_handle(m_multi.get(), slot.Easy.get());
        }
    }

    std::vector<WebFetcher::Answer> run(const std::atomic<bool>* cancel)
    {
        const auto deadline = std::chrono::steady_clock::now() + m_limits.Total;
        for (Slot& slot : m_slots)
            startNext(slot);
        while (m_busy > 0) {
            if (cancel && cancel->load())
                break;
            if (std::chrono::steady_clock::now() >= deadline) {
                for (std::size_t i = 0; i < m_answers.size(); ++i) {
                    if (m_answers[i].Status == 0 && m_answers[i].Failure == "abgebrochen")
                        m_answers[i].Failure = "Gesamtzeit überschritten";
                }
                break;
            }
            int running = 0;
            curl_multi_perform(m_multi.get(), &running);
            collectFinished();
            if (m_busy > 0)
                curl_multi_poll(m_multi.get(), nullptr, 0, 100, nullptr);
        }
        return std::move(m_answers);
    }

private:
    void startNext(Slot& slot)
    {
        if (m_next >= m_urls.size())
            return;
        slot.Index = m_next++;
        slot.Busy = true;
        slot.Limit = m_limits.BodyLimit;
        slot.Body.clear();
        slot.ErrorText[0] = '\0';
        ++m_busy;
        CURL* easy = slot.Easy.get();
        curl_easy_reset(easy);
        CurlHandles::setRequestOptions(easy, m_urls[slot.Index], &slot, &collectBody,
                                       m_limits.PerRequest, "Zuordnung vorschlagen");
        curl_easy_setopt(easy, CURLOPT_ERRORBUFFER, slot.ErrorText);
        curl_easy_setopt(easy, CURLOPT_FOLLOWLOCATION, 1L);
        curl_easy_setopt(easy, CURLOPT_MAXREDIRS, 10L);
        curl_easy_setopt(easy, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
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
            finish(*slot, message->data.result);
            curl_multi_remove_handle(m_multi.get(), message->easy_handle);
            slot->Busy = false;
            --m_busy;
            if (m_progress)
                m_progress(slot->Index);
            startNext(*slot);
        }
    }

    void finish(Slot& slot, CURLcode code)
    {
        WebFetcher::Answer& answer = m_answers[slot.Index];
        if (code != CURLE_OK) {
            answer.Failure = failureText(code, slot);
            return;
        }
        answer.Failure.clear();
        curl_easy_getinfo(slot.Easy.get(), CURLINFO_RESPONSE_CODE, &answer.Status);
        char* type = nullptr;
        if (curl_easy_getinfo(slot.Easy.get(), CURLINFO_CONTENT_TYPE, &type) == CURLE_OK && type)
            answer.ContentType = type;
        answer.Body = std::move(slot.Body);
        slot.Body.clear();
    }

    const std::vector<std::string>& m_urls;
    const WebFetcher::Limits& m_limits;
    const WebFetcher::Progress& m_progress;
    CurlHandles::Multi m_multi;
    std::vector<WebFetcher::Answer> m_answers;
    std::vector<Slot> m_slots;
    std::size_t m_next = 0;
    std::size_t m_busy = 0;
};

} // namespace

WebFetcher::WebFetcher() : WebFetcher(Limits{}) {}

WebFetcher::WebFetcher(Limits limits) : m_limits(limits)
{
    CurlHandles::initialiseOnce();
}

std::vector<WebFetcher::Answer> WebFetcher::fetch(const std::vector<std::string>& urls,
                                                  const Progress& progress,
                                                  const std::atomic<bool>* cancel) const
{
    if (urls.empty())
        return {};
    return Transfers(urls, m_limits, progress).run(cancel);
}
