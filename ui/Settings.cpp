#include "Settings.h"

#include <QDir>
#include <QSettings>
#include <cmath>

namespace {

struct Entry
{
    Settings::Key key;
    const char* path; // section and key name
};

// Every key the program stores, with its section; the defaults follow in
// defaultValue().
constexpr Entry Entries[] = {
    {Settings::Key::MainLeft, "Settings/MainLeft"},
    {Settings::Key::MainTop, "Settings/MainTop"},
    {Settings::Key::HTMLLeft, "Settings/HTMLLeft"},
    {Settings::Key::HTMLTop, "Settings/HTMLTop"},
    {Settings::Key::Verzeichnis, "Data/txtVerzeichnis"},
    {Settings::Key::Dateitypen, "Data/txtDateitypen"},
    {Settings::Key::URLneu, "Data/txtURLneu"},
    {Settings::Key::Zuordnungsdatei, "Extras/Zuordnungsdatei"},
    {Settings::Key::ZuordnungsVerzeichnis, "Extras/ZuordnungsVerzeichnis"},
    {Settings::Key::AlteAdresse, "Extras/AlteAdresse"},
};

constexpr double DefaultPosition = 1000;

QString pathOf(Settings::Key key)
{
    for (const Entry& entry : Entries) {
        if (entry.key == key)
            return QString::fromLatin1(entry.path);
    }
    return {};
}

QSettings store()
{
    return QSettings(QStringLiteral("Kelvane"), QStringLiteral("Kelvane"));
}

} // namespace

QString Settings::defaultValue(Key key)
{
    switch (key) {
    case Key::MainLeft:
    case Key::MainTop:
    case Key::HTMLLeft:
    case Key::HTMLTop:
        return QString::number(DefaultPosition);
    case Key::Verzeichnis:
        return defaultDirectory();
    case Key::Dateitypen:
        return QStringLiteral("htm;html;asp;php;php3;php4;shtml;shtm;shm;");
    case Key::URLneu:
        return exampleUrl();
    case Key::Zuordnungsdatei:
    case Key::ZuordnungsVerzeichnis:
    case Key::AlteAdresse:
        return {};
    }
    return {};
}

QString Settings::read(Key key)
{
    const QVariant value = store().value(pathOf(key));
    return value.isValid() ? value.toString() : defaultValue(key);
}

void Settings::write(Key key, const QString& value)
{
    store().setValue(pathOf(key), value);
}

double Settings::readPosition(Key key)
{
    bool isNumber = false;
    const double twips = read(key).trimmed().toDouble(&isNumber);
    return isNumber && std::isfinite(twips) ? twips : DefaultPosition;
}

void Settings::writePosition(Key key, double twips)
{
    // Positions are single-precision numbers, stored as their decimal text:
    // 1000 twips are stored as "1000".
    write(key, QString::number(static_cast<double>(static_cast<float>(twips)), 'g', 7));
}

bool Settings::readExtra(const QString& key)
{
    return store().value(QStringLiteral("Extras/") + key, QStringLiteral("0")).toString() == u"1";
}

void Settings::writeExtra(const QString& key, bool chosen)
{
    store().setValue(QStringLiteral("Extras/") + key,
                     chosen ? QStringLiteral("1") : QStringLiteral("0"));
}

QString Settings::readExtraText(const QString& key, const QString& fallback)
{
    return store().value(QStringLiteral("Extras/") + key, fallback).toString();
}

void Settings::writeExtraText(const QString& key, const QString& value)
{
    store().setValue(QStringLiteral("Extras/") + key, value);
}

QString Settings::exampleUrl()
{
    return QStringLiteral("http://www.example.com/subdir1/subdir2");
}

QString Settings::defaultDirectory()
{
#ifdef _WIN32
    return QStringLiteral("C:\\wwwroot");
#else
    return QDir::homePath() + QStringLiteral("/wwwroot");
#endif
}
