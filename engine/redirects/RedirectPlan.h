#pragma once

#include <cstddef>
#include <map>
#include <string>
#include <string_view>
#include <vector>

// What the run asked for that decides a page's URL: the URL text and whether
// folder and file name are appended.
struct RedirectRun
{
    std::string UrlText;
    bool AppendsSubpath = true;
    // The old site's address, for the lists of old addresses; empty when
    // the user named none.
    std::string OldUrlText = {};
};

// Sorts the pages of a run into the rules a server needs. A page whose URL is
// what one pattern per file type can compute (the URL text, or the URL text +
// "/" + its path) is covered by that pattern; any other page gets a rule of
// its own. Folders whose index page moved get a rule for the folder address.
class RedirectPlan
{
public:
    struct Rule
    {
        // Below the output root, levels joined by "/"; a folder ends in "/",
        // the root folder is the empty text.
        std::string Path;
        std::string Url;
    };

    // Without patterns (a host that cannot test whether a file exists),
    // every page gets its own rule. A path holding one of notForPatterns
    // always gets its own rule (a host whose file test fails on it).
    // patternSafe: whether the host's pattern can carry this path in its
    // back-reference and arrive at exactly the page URL.
    using PathTest = bool (*)(std::string_view path);
    RedirectPlan(RedirectRun run, bool patternsAllowed, std::string_view notForPatterns = {},
                 PathTest patternSafe = nullptr);

    void add(std::string_view relativePath, std::string_view url);
    // A file of the site that is not a page: covered by the pattern for
    // every file when that can compute its URL, else a rule of its own. It
    // claims no folder address.
    void addOtherFile(std::string_view relativePath, std::string_view url);

    // The pattern for every file (only for files that exist) leaves these
    // alone: a regular expression to follow "^" or "^/" in a negative
    // lookahead, matching robots.txt and the old-site sitemaps at the root,
    // whose crawler must find them on the old host, and every name beginning
    // with "." (.htaccess, .well-known), which are the server's own.
    static constexpr const char* LeftAlonePattern =
        "(?:robots\\.txt|sitemap-alt(?:-[0-9]+)?\\.xml)$|(?:.*/)?\\.";
    // What LeftAlonePattern matches, for the files of a run.
    static bool leftAlone(std::string_view relativePath);
    // The last character of a path the pattern for every file takes:
    // RedirectText::PlainClass without "/", so that no folder matches.
    static constexpr const char* PlainNameEnd = "[A-Za-z0-9._~!()+,;=:@-]";

    const RedirectRun& run() const { return m_run; }
    // The file types the patterns cover, in the order first met.
    const std::vector<std::string>& patternTypes() const { return m_patternTypes; }
    // Patterns append the path to the URL text (otherwise all go to it).
    bool patternsAppendPath() const { return m_run.AppendsSubpath; }
    const std::vector<Rule>& pageRules() const { return m_pageRules; }
    // Whether other files were added that the pattern for every file covers.
    bool coversEveryFile() const { return m_everyFile; }
    // By folder path, the root first.
    std::vector<Rule> folderRules() const;

private:
    bool coveredByPattern(std::string_view relativePath, std::string_view url) const;
    bool coveredByEveryFilePattern(std::string_view relativePath, std::string_view url) const;
    void addFolder(std::string_view relativePath, std::string_view url);

    struct Folder
    {
        int Rank;
        std::string Url;
    };

    RedirectRun m_run;
    bool m_patternsAllowed;
    std::string m_notForPatterns;
    PathTest m_patternSafe;
    std::vector<std::string> m_patternTypes;
    bool m_everyFile = false;
    std::vector<Rule> m_pageRules;
    std::map<std::string, Folder> m_folders;
};
