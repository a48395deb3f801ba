#include "RobotsFetch.h"

#include "BrowserUrl.h"

RobotsFetch::RobotsFetch(const std::string& origin) : m_current(origin + "/robots.txt") {}

void RobotsFetch::take(const HttpAnswer& answer)
{
    if (m_finished)
        return;
    const long status = answer.Status;
    const bool redirect =
        status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
    if (answer.Failure.empty() && redirect && !answer.Location.empty() &&
        m_redirects < MaxRedirects) {
        const std::string next = BrowserUrl::resolve(m_current, answer.Location);
        if (BrowserUrl::isWebAddress(next)) {
            ++m_redirects;
            m_current = next;
            return;
        }
    }
    m_finished = true;
    if (!answer.Failure.empty())
        return;
    if (status == 200)
        m_rules = RobotsTxt::parse(answer.Body);
    else if (status >= 400 && status <= 499)
        m_rules = RobotsTxt();
}
