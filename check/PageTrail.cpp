#include "PageTrail.h"

#include "AsciiCase.h"
#include "BrowserUrl.h"
#include "PageHints.h"

#include <utility>

namespace {

bool isRedirect(long status)
{
    return status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
}

// A browser shows an answer without a type as what it looks like, and one of
// another type as a download.
bool isHtml(std::string_view contentType)
{
    std::string type = asciiLowered(contentType.substr(0, contentType.find(';')));
    while (!type.empty() && type.back() == ' ')
        type.pop_back();
    return type.empty() || type == "text/html" || type == "application/xhtml+xml";
}

} // namespace

PageTrail::PageTrail(std::string oldUrl, std::string pageUrl, Kind kind)
    : m_oldUrl(std::move(oldUrl)), m_pageUrl(std::move(pageUrl)), m_kind(kind), m_current(m_oldUrl)
{
    m_visited.insert(BrowserUrl::normalized(m_current));
}

void PageTrail::take(const Answer& answer)
{
    if (finished())
        return;
    if (!answer.Failure.empty())
        return finish(CheckClass::Fehler, 0, answer.Failure);

    const long status = answer.Status;
    if (status == 200)
        return takePage(answer);
    if (isRedirect(status) && !answer.Location.empty())
        return followTo(answer.Location, status, false);
    // Only the first address tells whether the page was uploaded; a missing
    // page further on is a target that is not there.
    if (m_hops == 0 && (status == 404 || status == 410))
        return finish(CheckClass::AltFehlt, status);
    if (status >= 400 && status <= 599)
        return finish(CheckClass::ZielFehlt, status);
    finish(CheckClass::FalschesZiel, status);
}

void PageTrail::takePage(const Answer& answer)
{
    if (BrowserUrl::sameAddress(m_current, m_pageUrl))
        return arrive(answer);
    if (m_kind == Kind::File)
        return finish(CheckClass::FalschesZiel, answer.Status);
    if (!isHtml(answer.ContentType))
        return finish(CheckClass::FalschesZiel, answer.Status,
                      "kommt als " + answer.ContentType + ", nicht als HTML");
    // A page that names itself as its target has come to rest.
    const std::optional<std::string> target = PageHints::read(answer.Body).target();
    if (target && !BrowserUrl::sameAddress(BrowserUrl::resolve(m_current, *target), m_current))
        return followTo(*target, answer.Status, true);
    finish(CheckClass::FalschesZiel, answer.Status);
}

// What a search engine finds at the target besides the page.
void PageTrail::arrive(const Answer& answer)
{
    finish(m_throughPage ? CheckClass::NurSeite : CheckClass::Ok, answer.Status);
    CheckResult& result = *m_result;
    if (m_hops > 1)
        result.addNote(CheckNote::Kette);
    if (PageHints::forbidIndexing(answer.RobotsTag))
        result.addNote(CheckNote::NoIndex);
    if (!isHtml(answer.ContentType))
        return;
    const PageHints hints = PageHints::read(answer.Body);
    if (hints.NoIndex)
        result.addNote(CheckNote::NoIndex);
    if (hints.Canonical &&
        !BrowserUrl::sameAddress(BrowserUrl::resolve(m_current, *hints.Canonical), m_current))
        result.addNote(CheckNote::CanonicalAnders);
}

void PageTrail::followTo(const std::string& target, long status, bool throughPage)
{
    const std::string next = BrowserUrl::resolve(m_current, target);
    if (!m_visited.insert(BrowserUrl::normalized(next)).second || m_hops == MaxHops)
        return finish(CheckClass::Schleife, status);
    ++m_hops;
    m_throughPage = m_throughPage || throughPage;
    m_current = next;
    // A browser leaves the web here (file:, javascript:, a broken address).
    if (!BrowserUrl::isWebAddress(next))
        finish(CheckClass::FalschesZiel, status);
}

void PageTrail::finish(CheckClass checkClass, long status, std::string reason)
{
    m_result = CheckResult{checkClass, m_oldUrl, m_current, status, std::move(reason), m_hops, {}};
}

void PageTrail::abandon(const std::string& reason)
{
    if (!finished())
        finish(CheckClass::Fehler, 0, reason);
}
