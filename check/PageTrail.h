#pragma once

#include "CheckResult.h"
#include "HopTrail.h"

#include <optional>
#include <set>
#include <string>

// Follows one old address hop by hop to where it ends and classifies it.
class PageTrail final : public HopTrail
{
public:
    static constexpr int MaxHops = 10;

    // A page may reach its target through its replacement page; any other
    // file only through the server.
    enum class Kind
    {
        Page,
        File
    };

    using Answer = HttpAnswer;

    PageTrail(std::string oldUrl, std::string pageUrl, Kind kind = Kind::Page);

    const std::string& nextUrl() const override { return m_current; }
    bool finished() const override { return m_result.has_value(); }
    void take(const Answer& answer) override;
    void abandon(const std::string& reason) override;

    // The result once finished().
    const CheckResult& result() const { return *m_result; }

private:
    void takePage(const Answer& answer);
    void arrive(const Answer& answer);
    void followTo(const std::string& target, long status, bool throughPage);
    void finish(CheckClass checkClass, long status, std::string reason = {});

    std::string m_oldUrl;
    std::string m_pageUrl;
    Kind m_kind;
    std::string m_current;
    int m_hops = 0;
    bool m_throughPage = false;
    std::set<std::string> m_visited;
    std::optional<CheckResult> m_result;
};
