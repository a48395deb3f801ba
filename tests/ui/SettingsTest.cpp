#include "Settings.h"

#include "SettingsStore.h"

#include <QDir>
#include <QSettings>
#include <gtest/gtest.h>

namespace {

class SettingsTest : public ::testing::Test
{
protected:
    void SetUp() override { clearSettingsStore(); }
    void TearDown() override { clearSettingsStore(); }

    static QVariant stored(const char* path)
    {
        return QSettings(QStringLiteral("Kelvane"), QStringLiteral("Kelvane"))
            .value(QString::fromLatin1(path));
    }
};

struct KeyCase
{
    Settings::Key key;
    const char* path;
    QString defaultValue;
};

std::vector<KeyCase> keyCases()
{
    return {
        {Settings::Key::MainLeft, "Settings/MainLeft", QStringLiteral("1000")},
        {Settings::Key::MainTop, "Settings/MainTop", QStringLiteral("1000")},
        {Settings::Key::HTMLLeft, "Settings/HTMLLeft", QStringLiteral("1000")},
        {Settings::Key::HTMLTop, "Settings/HTMLTop", QStringLiteral("1000")},
        {Settings::Key::Verzeichnis, "Data/txtVerzeichnis", Settings::defaultDirectory()},
        {Settings::Key::Dateitypen, "Data/txtDateitypen",
         QStringLiteral("htm;html;asp;php;php3;php4;shtml;shtm;shm;")},
        {Settings::Key::URLneu, "Data/txtURLneu",
         QStringLiteral("http://www.example.com/subdir1/subdir2")},
        {Settings::Key::Zuordnungsdatei, "Extras/Zuordnungsdatei", QString()},
        {Settings::Key::ZuordnungsVerzeichnis, "Extras/ZuordnungsVerzeichnis", QString()},
        {Settings::Key::AlteAdresse, "Extras/AlteAdresse", QString()},
    };
}

TEST_F(SettingsTest, EveryKeyHasItsDefaultAndItsPlaceInTheStore)
{
    for (const KeyCase& c : keyCases()) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(Settings::defaultValue(c.key), c.defaultValue);
        EXPECT_EQ(Settings::read(c.key), c.defaultValue);
        Settings::write(c.key, QStringLiteral("Wert für ") + QString::fromLatin1(c.path));
        EXPECT_EQ(stored(c.path).toString(),
                  QStringLiteral("Wert für ") + QString::fromLatin1(c.path));
        EXPECT_EQ(Settings::read(c.key), QStringLiteral("Wert für ") + QString::fromLatin1(c.path));
    }
}

TEST_F(SettingsTest, EmptyTextReadsBackEmpty)
{
    for (const KeyCase& c : keyCases()) {
        SCOPED_TRACE(c.path);
        Settings::write(c.key, QString());
        EXPECT_EQ(Settings::read(c.key), QString());
    }
}

TEST_F(SettingsTest, DefaultDirectoryAndExampleUrl)
{
#ifdef _WIN32
    EXPECT_EQ(Settings::defaultDirectory(), QStringLiteral("C:\\wwwroot"));
#else
    EXPECT_EQ(Settings::defaultDirectory(), QDir::homePath() + QStringLiteral("/wwwroot"));
#endif
    EXPECT_EQ(Settings::exampleUrl(), QStringLiteral("http://www.example.com/subdir1/subdir2"));
}

TEST_F(SettingsTest, PositionsAreStoredAsDecimalText)
{
    struct Case
    {
        double twips;
        const char* text;
    };
    const Case cases[] = {{1000, "1000"}, {1500.5, "1500.5"}, {-330, "-330"}, {0, "0"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        Settings::writePosition(Settings::Key::HTMLLeft, c.twips);
        EXPECT_EQ(stored("Settings/HTMLLeft").toString(), QString::fromLatin1(c.text));
        EXPECT_EQ(Settings::readPosition(Settings::Key::HTMLLeft), c.twips);
    }
}

TEST_F(SettingsTest, PositionThatIsNoNumberReadsAsDefault)
{
    for (const char* text : {"links", "", "12px", "1e999"}) {
        SCOPED_TRACE(text);
        Settings::write(Settings::Key::MainTop, QString::fromLatin1(text));
        EXPECT_EQ(Settings::readPosition(Settings::Key::MainTop), 1000);
    }
    EXPECT_EQ(Settings::readPosition(Settings::Key::MainLeft), 1000);
}

} // namespace
