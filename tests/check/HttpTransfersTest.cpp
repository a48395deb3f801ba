#include "HttpTransfers.h"

#include <curl/curl.h>
#include <gtest/gtest.h>

namespace {

TEST(HttpTransfers, EveryFailureIsGivenInGerman)
{
    for (int code = 1; code < CURL_LAST; ++code) {
        const std::string text = HttpTransfers::failureText(code);
        EXPECT_NE(text, curl_easy_strerror(static_cast<CURLcode>(code))) << code;
        EXPECT_FALSE(text.empty()) << code;
    }
    EXPECT_EQ(HttpTransfers::failureText(CURLE_COULDNT_CONNECT), "keine Verbindung");
    EXPECT_EQ(HttpTransfers::failureText(CURLE_FILESIZE_EXCEEDED), "Übertragungsfehler (curl 63)");
}

} // namespace
