#pragma once

#include "HopTrail.h"
#include "RobotsTxt.h"

#include <optional>
#include <string>

// Fetches the robots.txt of one site as a crawler does: following up to five
// redirects; a missing file (4xx) allows everything; a server error or no
// answer leaves the rules unknown.
class RobotsFetch final : public HopTrail
{
public:
    static constexpr int MaxRedirects = 5;

    // origin: "scheme://host:port"
    explicit RobotsFetch(const std::string& origin);

    const std::string& nextUrl() const override { return m_current; }
    bool finished() const override { return m_finished; }
    void take(const HttpAnswer& answer) override;
    void abandon(const std::string&) override { m_finished = true; }
    // Crawlers read the first 500 KiB.
    std::size_t bodyLimit() const override { return 500 * 1024; }

    // The rules once finished; none when they could not be read.
    const std::optional<RobotsTxt>& rules() const { return m_rules; }

private:
    std::string m_current;
    int m_redirects = 0;
    bool m_finished = false;
    std::optional<RobotsTxt> m_rules;
};
