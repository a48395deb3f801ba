#pragma once

#include "HttpCheck.h"
#include "RelocationInputs.h"

#include <set>
#include <string>
#include <string_view>
#include <vector>

class FileSystem;

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
    // The files below the directory that are no page, each with its address
    // by the mapping or by the same rule as the pages: for a run whose
    // server rules cover every file. Call after the pages.
    void addOtherFiles(FileSystem& fileSystem, const RelocationInputs& inputs);

    const std::vector<HttpCheck::Page>& pages() const { return m_pages; }
    // The new homepage is the address the rules give the root folder: its
    // index page's URL without the file name, or else the URL text.
    HttpCheck::Homepage homepage() const;

private:
    std::string m_oldSiteUrl;
    std::string m_newUrl;
    std::vector<HttpCheck::Page> m_pages;
    std::set<std::string, std::less<>> m_pagePaths;
    int m_rootIndexRank = 0;
    std::string m_rootIndexUrl;
};
