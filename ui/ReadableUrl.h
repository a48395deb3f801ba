#pragma once

#include <QString>
#include <string>

// Addresses as a person reads them: percent escapes of letters decoded
// ("Über uns", not "%C3%9Cber%20uns"), while escapes that carry meaning ("/",
// "?", "#", "%") and control characters stay escaped, so that two addresses
// never read alike.
class ReadableUrl
{
public:
    static QString of(const std::string& url);
    // The part of the address below the site, without the "/" between; the
    // whole address when it does not lie below the site.
    static QString below(const std::string& url, const std::string& site);
};
