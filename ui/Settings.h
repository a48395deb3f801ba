#pragma once

#include <QString>

// The program's per-user settings: application "Kelvane", the seven keys of
// the windows in two sections and the extras' keys in a section of their
// own, each with its default. The keys and defaults live in one table
// in Settings.cpp; nothing else in the program reads or writes the store.
// A third section, "Extras", keeps which extra files a run writes: one key
// per output format, named by the format table, "1" or "0" (default).
class Settings
{
public:
    enum class Key
    {
        MainLeft,
        MainTop,
        HTMLLeft,
        HTMLTop,
        Verzeichnis,
        Dateitypen,
        URLneu,
        // The mapping file of the runs, empty for none.
        Zuordnungsdatei,
        // The folder the mapping file was chosen for, as typed then.
        ZuordnungsVerzeichnis,
        // The old site's address the move check asks.
        AlteAdresse
    };

    static QString defaultValue(Key key);
    // The stored text, or the default when the key is absent. A key holding
    // the empty text reads as the empty text.
    static QString read(Key key);
    static void write(Key key, const QString& value);

    // A position in twips; a stored value that is not a number reads as 1000.
    static double readPosition(Key key);
    static void writePosition(Key key, double twips);

    // Whether the extra file of this settings key is chosen.
    static bool readExtra(const QString& key);
    static void writeExtra(const QString& key, bool chosen);
    // A text of the section "Extras" (the upload dialog's fields), or
    // fallback when the key is absent.
    static QString readExtraText(const QString& key, const QString& fallback = {});
    static void writeExtraText(const QString& key, const QString& value);

    // The example address the new URL field starts with.
    static QString exampleUrl();
    // "C:\wwwroot" on Windows, the home folder + "/wwwroot" elsewhere.
    static QString defaultDirectory();
};
