#include "CommandLine.h"

#include "OutputFormat.h"
#include "SitemapFile.h"
#include "UploadOptions.h"

#include <algorithm>
#include <string_view>

namespace {

// Splits "--name=value" into its name and value.
bool splitInlineValue(std::string& argument, std::optional<std::string>& value)
{
    const std::size_t equals = argument.find('=');
    if (argument.rfind("--", 0) != 0 || equals == std::string::npos)
        return false;
    value = argument.substr(equals + 1);
    argument.resize(equals);
    return true;
}

// Options without a value, and what each sets.
struct Switch
{
    std::string_view name;
    bool CommandLine::*member;
    bool value;
};

const Switch Switches[] = {
    {"--no-subpath", &CommandLine::AppendSubpath, false},
    {"--yes", &CommandLine::AssumeYes, true},
    {"--dry-run", &CommandLine::DryRun, true},
    {"--preview", &CommandLine::Preview, true},
    {"--all-files", &CommandLine::AllFiles, true},
};

std::string serverNames()
{
    std::string names;
    for (const OutputFormat& format : OutputFormat::all()) {
        if (format.ChosenBy != OutputFormat::Choice::Server)
            continue;
        names += (names.empty() ? "" : ", ") + std::string(format.Name);
    }
    return names;
}

void addServer(CommandLine& options, std::string_view name)
{
    if (std::find(options.Servers.begin(), options.Servers.end(), name) == options.Servers.end())
        options.Servers.emplace_back(name);
}

// "apache,nginx": every name must be a server format of the table.
std::string storeServers(CommandLine& options, const std::string& list)
{
    std::size_t start = 0;
    while (start <= list.size()) {
        const std::size_t comma = std::min(list.find(',', start), list.size());
        const std::string name = list.substr(start, comma - start);
        const OutputFormat* format = OutputFormat::find(name);
        if (!format || format->ChosenBy != OutputFormat::Choice::Server)
            return "--server kennt \"" + name + "\" nicht; möglich sind " + serverNames() + ".";
        addServer(options, name);
        start = comma + 1;
    }
    return {};
}

// Options with a value; each stores it, or says what is wrong with it.
struct ValueOption
{
    std::string_view name;
    std::string (*store)(CommandLine& options, const std::string& value);
};

const ValueOption ValueOptions[] = {
    {"--types",
     [](CommandLine& options, const std::string& value) {
         options.Types = value;
         return std::string();
     }},
    {"--url",
     [](CommandLine& options, const std::string& value) {
         options.Url = value;
         return std::string();
     }},
    {"--template",
     [](CommandLine& options, const std::string& value) {
         if (value != "standard" && value != "user")
             return "--template erwartet \"standard\" oder \"user\", nicht \"" + value + "\".";
         options.UserTemplate = value == "user";
         return std::string();
     }},
    {"--map",
     [](CommandLine& options, const std::string& value) {
         if (value.empty())
             return std::string("--map braucht einen Dateinamen.");
         options.MapPath = value;
         return std::string();
     }},
    {"--check",
     [](CommandLine& options, const std::string& value) {
         if (value.rfind("http://", 0) != 0 && value.rfind("https://", 0) != 0)
             return "--check erwartet die alte Adresse mit http:// oder https://, nicht \"" +
                    value + "\".";
         options.CheckUrl = value;
         return std::string();
     }},
    {"--sitemaps",
     [](CommandLine& options, const std::string& value) {
         const std::string refusal = SitemapFile::refusalForOldUrl(value);
         if (!refusal.empty())
             return "--sitemaps: " + refusal;
         options.SitemapsUrl = value;
         return std::string();
     }},
    {"--suggest-map",
     [](CommandLine& options, const std::string& value) {
         if (value.empty())
             return std::string("--suggest-map braucht einen Ordner oder eine Adresse.");
         options.SuggestSite = value;
         return std::string();
     }},
    {"--output",
     [](CommandLine& options, const std::string& value) {
         if (value.empty())
             return std::string("--output braucht einen Dateinamen.");
         options.OutputPath = value;
         return std::string();
     }},
    {"--server", &storeServers},
    {"--upload", &UploadOptions::storeUrl},
    {"--ssh-key", &UploadOptions::storeSshKey},
    {"--host-key", &UploadOptions::storeHostKey},
    {"--pin-cert", &UploadOptions::storePinCert},
    {"--report",
     [](CommandLine& options, const std::string& value) {
         if (value.empty())
             return std::string("--report braucht einen Dateinamen.");
         options.ReportPath = value;
         return std::string();
     }},
};

template <typename Option, std::size_t Count>
const Option* findOption(const Option (&table)[Count], std::string_view name)
{
    for (const Option& option : table) {
        if (option.name == name)
            return &option;
    }
    return nullptr;
}

// What is missing from, or cannot go together in, otherwise valid options.
std::string incompleteOrConflicting(const CommandLine& options, bool urlGiven)
{
    if (const std::string upload = UploadOptions::conflict(options, urlGiven);
        !upload.empty() || !options.UploadUrl.empty())
        return upload;
    if (!urlGiven)
        return "Die neue URL fehlt (--url).";
    if (options.Directory.empty())
        return "Das Verzeichnis fehlt.";
    if (!options.SuggestSite.empty() &&
        (options.OutputPath.empty() || !options.CheckUrl.empty() || options.DryRun ||
         !options.Servers.empty() || !options.SitemapsUrl.empty() || !options.ReportPath.empty() ||
         !options.MapPath.empty()))
        return "--suggest-map braucht --output DATEI und geht nicht zusammen mit --check, "
               "--dry-run, --server, --htaccess, --sitemaps, --map oder --report.";
    if (options.SuggestSite.empty() && !options.OutputPath.empty())
        return "--output gilt nur mit --suggest-map.";
    const bool writesExtras = !options.Servers.empty() || !options.SitemapsUrl.empty();
    if (!options.CheckUrl.empty() && (options.DryRun || writesExtras))
        return "--check schreibt keine Seiten und geht nicht zusammen mit --dry-run, --server, "
               "--htaccess oder --sitemaps.";
    if (options.DryRun && (writesExtras || !options.ReportPath.empty()))
        return "--dry-run schreibt nichts und geht nicht zusammen mit --server, --htaccess, "
               "--sitemaps oder --report.";
    return {};
}

} // namespace

std::optional<CommandLine> CommandLine::parse(const std::vector<std::string>& arguments,
                                              std::string& error)
{
    CommandLine options;
    bool urlGiven = false;
    bool onlyDirectoryFollows = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        std::string argument = arguments[i];
        std::optional<std::string> value;
        const bool inlineValue = !onlyDirectoryFollows && splitInlineValue(argument, value);

        if (onlyDirectoryFollows || argument.empty() || argument[0] != '-' || argument == "-") {
            if (!options.Directory.empty()) {
                error = "Nur ein Verzeichnis angeben.";
                return std::nullopt;
            }
            options.Directory = arguments[i];
            if (options.Directory.empty()) {
                error = "Das Verzeichnis ist leer.";
                return std::nullopt;
            }
        } else if (argument == "--") {
            onlyDirectoryFollows = true;
        } else if (argument == "--help" || argument == "-h") {
            options.ShowHelp = true;
        } else if (argument == "--htaccess") {
            if (inlineValue) {
                error = "Die Option --htaccess nimmt keinen Wert.";
                return std::nullopt;
            }
            addServer(options, "apache");
        } else if (const Switch* option = findOption(Switches, argument)) {
            if (inlineValue) {
                error = "Die Option " + argument + " nimmt keinen Wert.";
                return std::nullopt;
            }
            options.*(option->member) = option->value;
        } else if (const ValueOption* option = findOption(ValueOptions, argument)) {
            if (!value && i + 1 < arguments.size())
                value = arguments[++i];
            error = value ? option->store(options, *value)
                          : "Die Option " + argument + " braucht einen Wert.";
            if (!error.empty())
                return std::nullopt;
            urlGiven = urlGiven || argument == "--url";
        } else {
            error = "Unbekannte Option: " + argument;
            return std::nullopt;
        }
    }
    if (!options.ShowHelp)
        error = incompleteOrConflicting(options, urlGiven);
    if (!error.empty())
        return std::nullopt;
    return options;
}

std::string CommandLine::usage()
{
    return "Aufruf: kelvane-cli [--types TEXT] --url URL [--no-subpath]\n"
           "                   [--template standard|user] [--yes]\n"
           "                   [--server LISTE] [--htaccess] [--all-files]\n"
           "                   [--sitemaps ALTE_URL] [--map DATEI] [--report DATEI]\n"
           "                   [--dry-run] VERZEICHNIS\n"
           "       kelvane-cli --check ALTE_URL [--types TEXT] --url URL [--no-subpath]\n"
           "                   [--all-files] [--map DATEI] [--report DATEI] VERZEICHNIS\n"
           "       kelvane-cli --upload ZIEL_URL [--preview] [--ssh-key DATEI]\n"
           "                   [--host-key SHA256:…] [--pin-cert SHA256:…] VERZEICHNIS\n"
           "       kelvane-cli --suggest-map NEU --output DATEI --url URL [--types TEXT]\n"
           "                   VERZEICHNIS\n";
}

std::string CommandLine::help()
{
    return usage() +
           "\n"
           "Schreibt für jede Datei der angegebenen Typen in VERZEICHNIS und allen\n"
           "Unterverzeichnissen eine Ersatzseite gleichen Namens nach VERZEICHNIS_Moved.\n"
           "Jede Seite entsteht aus der HTML-Vorlage, in der %URL% durch die neue\n"
           "Adresse ersetzt wird.\n"
           "\n"
           "Optionen:\n"
           "  --types TEXT        Dateitypen, durch \";\" getrennt; Bereiche wie 1-3\n"
           "                      (Vorgabe: \"" +
           std::string(DefaultTypes) +
           "\")\n"
           "  --url URL           die neue URL der Homepage (für --server, --check und\n"
           "                      --map absolut mit http:// oder https://)\n"
           "  --no-subpath        Unterverzeichnis und Dateiname nicht an die URL anhängen\n"
           "  --template standard|user\n"
           "                      Standardvorlage default.htm (Vorgabe) oder\n"
           "                      benutzerdefinierte Vorlage benutzer.htm\n"
           "  --yes               einen vorhandenen Ordner VERZEICHNIS_Moved ohne Frage\n"
           "                      weiterverwenden (ohne Terminal sonst: Nein)\n"
           "  --server LISTE      zusätzlich dauerhafte Weiterleitungen (301) für jede alte\n"
           "                      Seite und jeden Ordner mit Startseite schreiben; LISTE\n"
           "                      durch Kommas getrennt aus:\n"
           "                        apache   VERZEICHNIS_Moved/.htaccess (mod_rewrite, wird\n"
           "                                 mit den Seiten hochgeladen)\n"
           "                        nginx    VERZEICHNIS_Moved.nginx.conf (im server-Block\n"
           "                                 der alten Site einbinden)\n"
           "                        caddy    VERZEICHNIS_Moved.Caddyfile (im Site-Block der\n"
           "                                 alten Site importieren)\n"
           "                        iis      VERZEICHNIS_Moved/web.config (URL Rewrite, wird\n"
           "                                 mit den Seiten hochgeladen)\n"
           "                        netlify  VERZEICHNIS_Moved/_redirects (Netlify und\n"
           "                                 Cloudflare Pages, wird mit hochgeladen)\n"
           "  --htaccess          dasselbe wie --server apache\n"
           "  --all-files         die Serverregeln leiten jede vorhandene Datei weiter\n"
           "                      (Bilder, PDF, CSS, Skripte, Downloads), nicht nur die\n"
           "                      Seiten; Ersatzseiten gibt es weiter nur für die Seiten\n"
           "  --sitemaps ALTE_URL die Sitemaps VERZEICHNIS_Moved/sitemap-alt.xml (die alten\n"
           "                      Adressen unter ALTE_URL, mit den Seiten hochladen) und\n"
           "                      sitemap-neu.xml (die neuen Adressen) schreiben; ab 50.000\n"
           "                      Adressen oder 50 MB in Teilen mit einem Sitemap-Index\n"
           "  --map DATEI         Zuordnungsdatei (CSV, UTF-8): je Zeile der Pfad einer\n"
           "                      Seite unter VERZEICHNIS mit \"/\" und ihre neue absolute\n"
           "                      URL, wahlweise nach der Kopfzeile \"alte Datei,neue URL\";\n"
           "                      gilt für Seiten, Serverregeln, Bericht und Probelauf\n"
           "  --report DATEI      nach dem Lauf eine CSV-Liste schreiben: alte Datei,\n"
           "                      Ersatzseite, URL (mit --check: das Prüfergebnis; nicht\n"
           "                      in VERZEICHNIS oder VERZEICHNIS_Moved)\n"
           "  --dry-run           nur auflisten, welche Seite mit welcher URL entstünde\n"
           "                      (Ersatzseite und URL durch Tabulator getrennt), nichts\n"
           "                      schreiben\n"
           "  --check ALTE_URL    nichts schreiben, sondern jede Seite, die der Lauf schriebe,\n"
           "                      unter ALTE_URL abrufen, Weiterleitungen und Seitenverweisen\n"
           "                      folgen (bis 10 Schritte) und das Ergebnis je Seite\n"
           "                      ausgeben: KLASSE, alte URL, Ziel-URL, HTTP-Status,\n"
           "                      Sprünge, Hinweise (durch Tabulator getrennt), danach\n"
           "                      eine Zusammenfassung; ebenso die alte Startseite unter\n"
           "                      jedem Rechnernamen (http/https, mit/ohne www).\n"
           "                      Klassen: ok, nur-seite (nur über die Ersatzseite),\n"
           "                      falsches-ziel, ziel-fehlt (4xx/5xx), alt-fehlt (404),\n"
           "                      schleife, fehler (keine Verbindung, Zeitüberschreitung)\n"
           "                      Hinweise (durch \";\" getrennt): kette (mehr als ein\n"
           "                      Sprung), noindex, canonical-anders, robots-alt und\n"
           "                      robots-neu (robots.txt sperrt die alte Adresse oder das\n"
           "                      Ziel), hostvariante (kommt nicht zur neuen Startseite)\n"
           "  --suggest-map NEU   nichts schreiben außer DATEI (--output): für jede Seite\n"
           "                      eine neue Adresse vorschlagen. NEU ist der Ordner der\n"
           "                      neuen Site (Adresse: URL + \"/\" + Pfad, index.html steht\n"
           "                      für ihren Ordner), ihre Adresse mit http:// oder https://\n"
           "                      (Seiten aus robots.txt und sitemap.xml) oder eine\n"
           "                      Textdatei mit einer Adresse je Zeile. DATEI ist eine\n"
           "                      Zuordnungsdatei mit den Spalten alte Datei, neue URL,\n"
           "                      Urteil (sicher, unsicher, kein Treffer), Wert (0 bis 1)\n"
           "                      und zweite URL; --map nimmt sie so, wie sie ist\n"
           "  --output DATEI      mit --suggest-map: die vorgeschlagene Zuordnungsdatei\n"
           "  -h, --help          diese Hilfe\n"
           "\n" +
           UploadOptions::help() +
           "\n"
           "Rückgabewert: 0 fertig, 1 abgelehnt, 2 falscher Aufruf (auch eine fehlerhafte\n"
           "Zuordnungsdatei), 3 Fehler beim Lauf, 4 nicht jede Seite kommt an oder es gibt\n"
           "Hinweise (--check).\n"
           "Mit --upload: 0 alles angekommen, 1 Verbindung, Anmeldung, Hostschlüssel oder\n"
           "Zertifikat abgelehnt, 2 falscher Aufruf, 3 Dateien fehlgeschlagen.\n";
}
