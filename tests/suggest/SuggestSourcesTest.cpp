#include "GzipData.h"
#include "NewSiteFolder.h"
#include "NewSiteWeb.h"
#include "SitemapReader.h"
#include "WebFetcher.h"

#include <algorithm>
#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <mutex>
#include <netinet/in.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>
#include <zlib.h>

namespace {

using Texts = std::vector<std::string>;

TEST(SitemapReader, ReadsPagesAndNestedSitemapsIncludingCdataAndIgnoresOtherLocs)
{
    const SitemapReader::Sitemap pages = SitemapReader::read(
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<urlset xmlns=\"http://www.sitemaps.org/schemas/sitemap/0.9\" "
        "xmlns:image=\"http://www.google.com/schemas/sitemap-image/1.1\">"
        "<url><loc> https://n.example/a?x=1&amp;y=2 </loc><lastmod>2024</lastmod>"
        "<image:image><image:loc>https://n.example/bild.png</image:loc></image:image></url>"
        "<url><loc><![CDATA[https://n.example/b/]]></loc></url></urlset>");
    EXPECT_EQ(pages.Pages, (Texts{"https://n.example/a?x=1&y=2", "https://n.example/b/"}));
    EXPECT_TRUE(pages.Sitemaps.empty());

    const SitemapReader::Sitemap index = SitemapReader::read(
        "<sitemapindex><sitemap><loc>https://n.example/s1.xml.gz</loc></sitemap>"
        "<sitemap><loc>https://n.example/s2.xml</loc></sitemap></sitemapindex>");
    EXPECT_EQ(index.Sitemaps, (Texts{"https://n.example/s1.xml.gz", "https://n.example/s2.xml"}));
    EXPECT_EQ(SitemapReader::robotsSitemaps("User-agent: *\r\nsitemap: https://n.example/a.xml\r\n"
                                            "# Sitemap: no\nSITEMAP:https://n.example/b.xml"),
              (Texts{"https://n.example/a.xml", "https://n.example/b.xml"}));
}

std::string gzipped(const std::string& text)
{
    z_stream stream{};
    deflateInit2(&stream, Z_DEFAULT_COMPRESSION, Z_DEFLATED, 16 + MAX_WBITS, 8, Z_DEFAULT_STRATEGY);
    std::string out(compressBound(static_cast<uLong>(text.size())) + 32, '\0');
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(text.data()));
    stream.avail_in = static_cast<uInt>(text.size());
    stream.next_out = reinterpret_cast<Bytef*>(out.data());
    stream.avail_out = static_cast<uInt>(out.size());
    deflate(&stream, Z_FINISH);
    out.resize(stream.total_out);
    deflateEnd(&stream);
    return out;
}

TEST(GzipData, UnpacksAPackedSitemapAndRefusesBrokenData)
{
    const std::string text(100'000, 'x');
    const std::string packed = gzipped(text);
    ASSERT_TRUE(GzipData::isGzip(packed));
    EXPECT_EQ(GzipData::inflate(packed), text);
    EXPECT_FALSE(GzipData::inflate(packed.substr(0, packed.size() / 2)));
    EXPECT_FALSE(GzipData::isGzip("<urlset>"));
}

TEST(NewSiteFolder, AddressesAPageBelowTheUrlAndAnIndexPageByItsFolder)
{
    const std::pair<std::string, std::string> cases[] = {
        {"kontakt.html", "https://n.example/kontakt.html"},
        {"index.html", "https://n.example/"},
        {"ueber-uns/chronik/INDEX.HTM", "https://n.example/ueber-uns/chronik/"},
        {"a b/Über.html", "https://n.example/a%20b/%C3%9Cber.html"},
        {"mein-index.html", "https://n.example/mein-index.html"},
    };
    for (const auto& [path, url] : cases)
        EXPECT_EQ(NewSiteFolder::addressOf("https://n.example", path), url) << path;
}

TEST(NewSiteWeb, ReadsAListOfAddressesAndNamesTheLineOfAFaultyOne)
{
    std::string error;
    EXPECT_EQ(NewSiteWeb::addressList("\xEF\xBB\xBFhttps://n.example/a\r\n\r\n# Kommentar\n"
                                      "  https://n.example/b  \nhttps://n.example/a\n",
                                      error),
              (Texts{"https://n.example/a", "https://n.example/b"}));
    EXPECT_EQ(error, "");
    EXPECT_TRUE(NewSiteWeb::addressList("https://n.example/a\n/relativ\n", error).empty());
    EXPECT_NE(error.find("Adressliste, Zeile 2"), std::string::npos) << error;
    EXPECT_TRUE(NewSiteWeb::addressList("# nichts\n", error).empty());
    EXPECT_EQ(error, "Die Adressliste nennt keine Adresse.");
    EXPECT_EQ(NewSiteWeb::origin("http://127.0.0.1:8080/neu/x.html"), "http://127.0.0.1:8080");
    EXPECT_EQ(NewSiteWeb::origin("kein url"), "");
}

// A loopback server that answers every request after a pause and counts how
// many connections it serves at once.
class SlowServer
{
public:
    SlowServer() : m_socket(::socket(AF_INET, SOCK_STREAM, 0))
    {
        sockaddr_in address{AF_INET, 0, {htonl(INADDR_LOOPBACK)}, {}};
        socklen_t length = sizeof address;
        ::bind(m_socket, reinterpret_cast<sockaddr*>(&address), length);
        ::listen(m_socket, 64);
        ::getsockname(m_socket, reinterpret_cast<sockaddr*>(&address), &length);
        m_port = ntohs(address.sin_port);
        m_acceptor = std::thread([this] { acceptAll(); });
    }
    ~SlowServer()
    {
        ::shutdown(m_socket, SHUT_RDWR);
        ::close(m_socket);
        m_acceptor.join();
        for (std::thread& worker : m_workers)
            worker.join();
    }
    std::string url(int page) const
    {
        return "http://127.0.0.1:" + std::to_string(m_port) + "/" + std::to_string(page);
    }
    int mostAtOnce() const
    {
        std::lock_guard lock(m_mutex);
        return m_most;
    }

private:
    void acceptAll()
    {
        for (;;) {
            const int client = ::accept(m_socket, nullptr, nullptr);
            if (client < 0)
                return;
            m_workers.emplace_back([this, client] { serve(client); });
        }
    }
    void serve(int client)
    {
        {
            std::lock_guard lock(m_mutex);
            m_most = std::max(m_most, ++m_now);
        }
        char request[4096];
        [[maybe_unused]] const auto got = ::read(client, request, sizeof request);
        std::this_thread::sleep_for(std::chrono::milliseconds(150));
        {
            std::lock_guard lock(m_mutex);
            --m_now;
        }
        const std::string answer = "HTTP/1.1 200 OK\r\nContent-Type: text/html; charset=utf-8\r\n"
                                   "Content-Length: 9\r\nConnection: close\r\n\r\n<p>ok</p>";
        [[maybe_unused]] const auto sent = ::write(client, answer.data(), answer.size());
        ::close(client);
    }

    int m_socket;
    int m_port = 0;
    std::thread m_acceptor;
    std::vector<std::thread> m_workers;
    mutable std::mutex m_mutex;
    int m_now = 0;
    int m_most = 0;
};

TEST(WebFetcher, LoadsAtMostFourAddressesAtOnceAndReportsEach)
{
    SlowServer server;
    std::vector<std::string> urls;
    for (int i = 0; i < 12; ++i)
        urls.push_back(server.url(i));
    std::vector<std::size_t> reported;
    const auto answers =
        WebFetcher().fetch(urls, [&](std::size_t index) { reported.push_back(index); });
    ASSERT_EQ(answers.size(), 12u);
    for (const WebFetcher::Answer& answer : answers) {
        EXPECT_EQ(answer.Status, 200);
        EXPECT_EQ(answer.Body, "<p>ok</p>");
        EXPECT_EQ(answer.ContentType, "text/html; charset=utf-8");
    }
    std::sort(reported.begin(), reported.end());
    EXPECT_EQ(reported.size(), 12u);
    EXPECT_EQ(std::unique(reported.begin(), reported.end()), reported.end());
    EXPECT_LE(server.mostAtOnce(), 4);
    EXPECT_GE(server.mostAtOnce(), 2);
}

TEST(WebFetcher, EndsUnfinishedAddressesWithAReasonOnTimeoutAndCancel)
{
    SlowServer server;
    WebFetcher::Limits limits;
    limits.PerRequest = std::chrono::milliseconds(50);
    const auto late = WebFetcher(limits).fetch({server.url(1)});
    EXPECT_EQ(late.front().Status, 0);
    EXPECT_EQ(late.front().Failure, "Zeitüberschreitung");

    const std::atomic<bool> cancel{true};
    const auto cancelled = WebFetcher().fetch({server.url(1), server.url(2)}, {}, &cancel);
    EXPECT_EQ(cancelled.back().Failure, "abgebrochen");
}

} // namespace
