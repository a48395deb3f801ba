#include "CommandLine.h"

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
    {"--htaccess", &CommandLine::Htaccess, true},
};

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
    if (!urlGiven)
        return "Die neue URL fehlt (--url).";
    if (options.Directory.empty())
        return "Das Verzeichnis fehlt.";
    if (options.Htaccess && !options.AppendSubpath)
        return "--htaccess braucht für jede Seite ihre eigene URL und geht nicht zusammen mit "
               "--no-subpath.";
    if (options.DryRun && (options.Htaccess || !options.ReportPath.empty()))
        return "--dry-run schreibt nichts und geht nicht zusammen mit --htaccess oder --report.";
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
           "                      Ersatzseite, URL (nicht in VERZEICHNIS oder\n"
           "                      VERZEICHNIS_Moved)\n"
           "  --dry-run           nur auflisten, welche Seite mit welcher URL entstünde\n"
           "                      (Ersatzseite und URL durch Tabulator getrennt), nichts\n"
           "                      schreiben\n"
           "  -h, --help          diese Hilfe\n"
           "\n"
           "Rückgabewert: 0 fertig, 1 abgelehnt, 2 falscher Aufruf, 3 Fehler beim Lauf.\n";
}
