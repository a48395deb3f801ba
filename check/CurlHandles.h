#pragma once

#include <chrono>
#include <curl/curl.h>
#include <memory>
#include <mutex>
#include <string>

// libcurl's global set-up, made once before the first handle of any of the
// program's network features, and handles that clean themselves up.
namespace CurlHandles {

inline void initialiseOnce()
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

struct ListDeleter
{
    void operator()(curl_slist* list) const { curl_slist_free_all(list); }
};

using Easy = std::unique_ptr<CURL, EasyDeleter>;
using Multi = std::unique_ptr<CURLM, MultiDeleter>;
using List = std::unique_ptr<curl_slist, ListDeleter>;

// What every request of the program's HTTP features shares: the slot that
// takes the body, http and https only, no signals (the requests run on worker
// threads), a bounded time, compressed answers, and the feature in the user
// agent, so that a site's owner can tell what asked.
inline void setRequestOptions(CURL* easy, const std::string& url, void* slot,
                              curl_write_callback collectBody, std::chrono::milliseconds timeout,
                              const char* feature)
{
    curl_easy_setopt(easy, CURLOPT_URL, url.c_str());
    curl_easy_setopt(easy, CURLOPT_PRIVATE, slot);
    curl_easy_setopt(easy, CURLOPT_WRITEFUNCTION, collectBody);
    curl_easy_setopt(easy, CURLOPT_WRITEDATA, slot);
    curl_easy_setopt(easy, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(easy, CURLOPT_TIMEOUT_MS, static_cast<long>(timeout.count()));
    curl_easy_setopt(easy, CURLOPT_PROTOCOLS_STR, "http,https");
    const std::string userAgent = std::string("Kelvane/" KELVANE_VERSION " (") + feature + ")";
    curl_easy_setopt(easy, CURLOPT_USERAGENT, userAgent.c_str());
    curl_easy_setopt(easy, CURLOPT_ACCEPT_ENCODING, "");
}

} // namespace CurlHandles
