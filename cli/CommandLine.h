#pragma once

#include <optional>
#include <string>
#include <vector>

// The options of kelvane-cli, parsed from its arguments.
struct CommandLine
{
    static constexpr const char* DefaultTypes = "htm;html;asp;php;php3;php4;shtml;shtm;shm;";

    std::string Directory;
    std::string Types = DefaultTypes;
    std::string Url;
    bool AppendSubpath = true;
    bool UserTemplate = false;
    bool AssumeYes = false;
    bool DryRun = false;
    // Names from the table of output formats, each once, as --server LIST
    // and --htaccess chose them.
    std::vector<std::string> Servers;
    std::string ReportPath;
    // Server rules for every file of the site, not only the pages.
    bool AllFiles = false;
    // With --sitemaps: the old site's URL; both sitemaps are written.
    std::string SitemapsUrl;
    // The mapping file of pages with their own new URL.
    std::string MapPath;
    // With --check: the old site's URL, asked for every page instead of a run.
    std::string CheckUrl;
    // With --upload: the remote folder DIR_Moved goes to, and its options.
    std::string UploadUrl;
    bool Preview = false;
    std::string SshKey;
    std::string HostKey;
    std::string PinCert;
    // With --suggest-map: the new site (folder, address or list of
    // addresses) and the mapping file to suggest.
    std::string SuggestSite;
    std::string OutputPath;
    bool ShowHelp = false;

    // The options, or nothing with a German explanation in error.
    static std::optional<CommandLine> parse(const std::vector<std::string>& arguments,
                                            std::string& error);
    static std::string usage();
    static std::string help();
};
