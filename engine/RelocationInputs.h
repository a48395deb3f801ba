#pragma once

#include <string>

// What the user asked for, read from the window or the command line once,
// when the run starts. Texts are UTF-8, exactly as typed.
struct RelocationInputs
{
    std::string Verzeichnis;
    std::string Dateitypen;
    std::string URLneu;
    // The check box: 0 unticked, 1 ticked, 2 greyed; only 1 appends the
    // folder and file name to the URL.
    int Unterverzeichnis = 1;
    bool UseStandardTemplate = true;
    // A CSV file of pages with their own new URL; empty for none.
    std::string Zuordnungsdatei;
    // Server rules cover every file of the site, not only the page types.
    bool AllFiles = false;
    // Server rules or a check follow the run: the URL must then be an
    // absolute http(s) address, as it must with a mapping file. Pages alone
    // take any text.
    bool NeedsAbsoluteUrl = false;

    bool appendsSubpath() const { return Unterverzeichnis == 1; }
    bool needsAbsoluteUrl() const { return NeedsAbsoluteUrl || !Zuordnungsdatei.empty(); }
};
