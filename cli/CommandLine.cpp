#include "CommandLine.h"

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
        const auto takeValue = [&]() -> bool {
            if (!value && i + 1 < arguments.size())
                value = arguments[++i];
            if (!value)
                error = "Die Option " + argument + " braucht einen Wert.";
            return value.has_value();
        };
        const auto takesNoValue = [&]() -> bool {
            if (inlineValue)
                error = "Die Option " + argument + " nimmt keinen Wert.";
            return !inlineValue;
        };

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
        } else if (argument == "--types") {
            if (!takeValue())
                return std::nullopt;
            options.Types = *value;
        } else if (argument == "--url") {
            if (!takeValue())
                return std::nullopt;
            options.Url = *value;
            urlGiven = true;
        } else if (argument == "--template") {
            if (!takeValue())
                return std::nullopt;
            if (*value != "standard" && *value != "user") {
                error = "--template erwartet \"standard\" oder \"user\", nicht \"" + *value + "\".";
                return std::nullopt;
            }
            options.UserTemplate = *value == "user";
        } else if (argument == "--no-subpath") {
            if (!takesNoValue())
                return std::nullopt;
            options.AppendSubpath = false;
        } else if (argument == "--yes") {
            if (!takesNoValue())
                return std::nullopt;
            options.AssumeYes = true;
        } else if (argument == "--dry-run") {
            if (!takesNoValue())
                return std::nullopt;
            options.DryRun = true;
        } else if (argument == "--htaccess") {
            if (!takesNoValue())
                return std::nullopt;
            options.Htaccess = true;
        } else if (argument == "--report") {
            if (!takeValue())
                return std::nullopt;
            options.ReportPath = *value;
            if (options.ReportPath.empty()) {
                error = "--report braucht einen Dateinamen.";
                return std::nullopt;
            }
        } else {
            error = "Unbekannte Option: " + argument;
            return std::nullopt;
        }
    }
    if (options.ShowHelp)
        return options;
    if (!urlGiven) {
        error = "Die neue URL fehlt (--url).";
        return std::nullopt;
    }
    if (options.Directory.empty()) {
        error = "Das Verzeichnis fehlt.";
        return std::nullopt;
    }
    if (options.Htaccess && !options.AppendSubpath) {
        error = "--htaccess braucht für jede Seite ihre eigene URL und geht nicht zusammen mit "
                "--no-subpath.";
        return std::nullopt;
    }
    if (options.DryRun && (options.Htaccess || !options.ReportPath.empty())) {
        error = "--dry-run schreibt nichts und geht nicht zusammen mit --htaccess oder --report.";
        return std::nullopt;
    }
    return options;
}

std::string CommandLine::usage()
{
    return "Aufruf: kelvane-cli [--types TEXT] --url URL [--no-subpath]\n"
           "                   [--template standard|user] [--yes]\n"
           "                   [--htaccess] [--report DATEI] [--dry-run] VERZEICHNIS\n";
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
           "  --url URL           die neue URL der Homepage\n"
           "  --no-subpath        Unterverzeichnis und Dateiname nicht an die URL anhängen\n"
           "  --template standard|user\n"
           "                      Standardvorlage default.htm (Vorgabe) oder\n"
           "                      benutzerdefinierte Vorlage benutzer.htm\n"
           "  --yes               einen vorhandenen Ordner VERZEICHNIS_Moved ohne Frage\n"
           "                      weiterverwenden (ohne Terminal sonst: Nein)\n"
           "  --htaccess          zusätzlich VERZEICHNIS_Moved/.htaccess schreiben, das jede\n"
           "                      alte Seite dauerhaft (301) weiterleitet (Apache mit\n"
           "                      mod_rewrite und AllowOverride); nicht mit --no-subpath\n"
           "  --report DATEI      nach dem Lauf eine CSV-Liste schreiben: alte Datei,\n"
           "                      Ersatzseite, URL\n"
           "  --dry-run           nur auflisten, welche Seite mit welcher URL entstünde\n"
           "                      (Ersatzseite und URL durch Tabulator getrennt), nichts\n"
           "                      schreiben\n"
           "  -h, --help          diese Hilfe\n"
           "\n"
           "Rückgabewert: 0 fertig, 1 abgelehnt, 2 falscher Aufruf, 3 Fehler beim Schreiben.\n";
}
