#pragma once

#include "RedirectPlan.h"

#include <functional>
#include <string>
#include <string_view>
#include <vector>

// Pages and folders whose address or name a host's rules cannot carry
// safely. They get no rule, so that no rule matches anything but its own
// address; the replacement page stays their redirect, and the run says so.
class LeftOutPages
{
public:
    // One warning naming how many of the plan's folders and pages the rules
    // of the file do not carry, and the first of them; none when all are.
    static std::vector<std::string>
    warnings(std::string_view fileName, const RedirectPlan& plan,
             const std::function<bool(const RedirectPlan::Rule&)>& carried);
};
