#include "PageTrail.h"

#include "BrowserUrl.h"
#include "HtmlTarget.h"

#include <utility>

namespace {

bool isRedirect(long status)
{
    return status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
}

} // namespace

std::string_view checkClassName(CheckClass checkClass)
{
    switch (checkClass) {
    case CheckClass::Ok:
        return "ok";
    case CheckClass::NurSeite:
        return "nur-seite";
    case CheckClass::FalschesZiel:
        return "falsches-ziel";
    case CheckClass::ZielFehlt:
        return "ziel-fehlt";
    case CheckClass::AltFehlt:
        return "alt-fehlt";
    case CheckClass::Schleife:
        return "schleife";
    case CheckClass::Fehler:
        return "fehler";
    }
    return "fehler";
}

PageTrail::PageTrail(std::string oldUrl, std::string pageUrl)
    : m_oldUrl(std::move(oldUrl)), m_pageUrl(std::move(pageUrl)), m_current(m_oldUrl)
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
    if (status == 200) {
        if (BrowserUrl::sameAddress(m_current, m_pageUrl))
            return finish(m_throughPage ? CheckClass::NurSeite : CheckClass::Ok, status);
        // A page that names itself as its target has come to rest.
        const std::optional<std::string> target = HtmlTarget::find(answer.Body);
        if (target && !BrowserUrl::sameAddress(BrowserUrl::resolve(m_current, *target), m_current))
            return followTo(*target, status, true);
        return finish(CheckClass::FalschesZiel, status);
    }
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

void PageTrail::followTo(const std::string& target, long status, bool throughPage)
{
    const std::string next = BrowserUrl::encode(BrowserUrl::resolve(m_current, target));
    if (!m_visited.insert(BrowserUrl::normalized(next)).second || m_hops == MaxHops)
        return finish(CheckClass::Schleife, status);
    ++m_hops;
    m_throughPage = m_throughPage || throughPage;
    m_current = next;
}

void PageTrail::finish(CheckClass checkClass, long status, std::string reason)
{
    m_result = CheckResult{checkClass, m_oldUrl, m_current, status, std::move(reason)};
}

void PageTrail::abandon(const std::string& reason)
{
    if (!finished())
        finish(CheckClass::Fehler, 0, reason);
}
