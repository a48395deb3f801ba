#pragma once

#include "RedirectOutput.h"
#include "RedirectPlan.h"

#include <memory>
#include <span>
#include <string>
#include <string_view>

// One kind of extra file a run can write, as the command line and the window
// both offer it.
struct OutputFormat
{
    enum class Place
    {
        // Read by the host from the site root: uploaded with the pages.
        InsideOutputRoot,
        // Server configuration or a list for the user: not uploaded.
        BesideOutputRoot,
    };

    // As --server names it; "report" for the page list.
    std::string_view Name;
    // The file name inside the output root, or what is appended to it.
    std::string_view File;
    Place Where;
    // The window's menu entry and its key in the settings section "Extras".
    std::string_view MenuCaption;
    std::string_view SettingsKey;
    // A page list also lists a run that stopped early; server rules are only
    // written for a complete run.
    bool WrittenAfterPartialRun;
    std::unique_ptr<RedirectOutput> (*Make)(const RedirectRun& run);

    // How the user asks for the file: --server NAME, --sitemaps (both
    // sitemaps share the menu entry and its key), --report.
    enum class Choice
    {
        Server,
        Sitemaps,
        Report,
    };
    Choice ChosenBy = Choice::Server;

    std::string pathFor(const std::string& outputRoot) const;
    // The name the user sees for the written file, e.g. "site_Moved.Caddyfile".
    std::string displayName(const std::string& outputRoot) const;

    // Every format: server rules, then sitemaps, the page list last.
    static std::span<const OutputFormat> all();
    static const OutputFormat* find(std::string_view name);
    static const OutputFormat& report();
};
