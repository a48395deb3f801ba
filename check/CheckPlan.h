#pragma once

#include "HttpCheck.h"

#include <string>
#include <string_view>
#include <vector>

// The addresses a check asks for, gathered from the pages a run would write:
// each page's old address with its new URL, and the old homepage with the
// new one.
class CheckPlan
{
public:
    // oldSiteUrl: the old site's address; newUrl: the run's URL text.
    CheckPlan(std::string oldSiteUrl, std::string newUrl);

    // relativePath: below the directory, levels joined by "/".
    void addPage(std::string_view relativePath, std::string_view url);

    const std::vector<HttpCheck::Page>& pages() const { return m_pages; }
    // The new homepage is the address the rules give the root folder: its
    // index page's URL without the file name, or else the URL text.
    HttpCheck::Homepage homepage() const;

private:
    std::string m_oldSiteUrl;
    std::string m_newUrl;
    std::vector<HttpCheck::Page> m_pages;
    int m_rootIndexRank = 0;
    std::string m_rootIndexUrl;
};
