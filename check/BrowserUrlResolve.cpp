// Resolution is libcurl's URL parser; it lives apart from the rest of
// BrowserUrl so that a build without libcurl keeps joining and comparing.
#include "BrowserUrl.h"

#include <curl/curl.h>
#include <memory>

namespace {

struct UrlDeleter
{
    void operator()(CURLU* url) const { curl_url_cleanup(url); }
};

struct TextDeleter
{
    void operator()(char* text) const { curl_free(text); }
};

std::string withoutFragment(std::string_view url)
{
    return std::string(url.substr(0, url.find('#')));
}

// As a browser reads a URL: without control characters and spaces at either
// end, and without tabs and line breaks anywhere ("jav&#9;ascript:").
std::string browserText(std::string_view reference)
{
    while (!reference.empty() && static_cast<unsigned char>(reference.front()) <= 0x20)
        reference.remove_prefix(1);
    while (!reference.empty() && static_cast<unsigned char>(reference.back()) <= 0x20)
        reference.remove_suffix(1);
    std::string text;
    for (const char c : reference) {
        if (c != '\t' && c != '\n' && c != '\r')
            text += c;
    }
    return text;
}

} // namespace

std::string BrowserUrl::resolve(std::string_view base, std::string_view reference)
{
    const std::string encoded = encode(browserText(reference));
    // libcurl takes only "scheme://" as absolute, and resolves an empty or
    // fragment-only reference to the base's folder instead of the base.
    if (!scheme(encoded).empty())
        return encoded;
    if (encoded.empty() || encoded.front() == '#')
        return withoutFragment(base) + encoded;

    const std::unique_ptr<CURLU, UrlDeleter> url(curl_url());
    const std::string baseText(base);
    char* joined = nullptr;
    if (!url || curl_url_set(url.get(), CURLUPART_URL, baseText.c_str(), 0) != CURLUE_OK ||
        curl_url_set(url.get(), CURLUPART_URL, encoded.c_str(), 0) != CURLUE_OK ||
        curl_url_get(url.get(), CURLUPART_URL, &joined, 0) != CURLUE_OK)
        return encoded;
    const std::unique_ptr<char, TextDeleter> owned(joined);
    return joined;
}
