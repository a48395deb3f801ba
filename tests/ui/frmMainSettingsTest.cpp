#include "MainWindowFixture.h"
#include "Settings.h"

using Key = Settings::Key;
using frmMainSettings = MainWindowFixture;

TEST_F(frmMainSettings, closingStoresPositionAndFieldsAndTheNextStartRestoresThem)
{
    openWindow();
    window->move(200, 150);
    typeInto("txtVerzeichnis", QStringLiteral("/daten/alte Seite"));
    typeInto("txtDateitypen", QStringLiteral("htm;1-3"));
    typeInto("txtURLneu", QStringLiteral("http://neu.example.org/ä"));

    frmMain& next = restart();

    EXPECT_EQ(Settings::read(Key::MainLeft), QStringLiteral("3000"));
    EXPECT_EQ(Settings::read(Key::MainTop), QStringLiteral("2250"));
    EXPECT_EQ(next.pos(), QPoint(200, 150));
    EXPECT_EQ(field("txtVerzeichnis")->text(), QStringLiteral("/daten/alte Seite"));
    EXPECT_EQ(field("txtDateitypen")->text(), QStringLiteral("htm;1-3"));
    EXPECT_EQ(field("txtURLneu")->text(), QStringLiteral("http://neu.example.org/ä"));
}

TEST_F(frmMainSettings, aWindowThatWasNotMovedStoresThePositionItWasGiven)
{
    // 1000 twips lie between two whole pixels; the window stands at 67.
    openWindow();
    restart();
    EXPECT_EQ(Settings::read(Key::MainLeft), QStringLiteral("1000"));
    EXPECT_EQ(Settings::read(Key::MainTop), QStringLiteral("1000"));
}

TEST_F(frmMainSettings, closingMinimizedKeepsTheStoredPositionButStoresTheFields)
{
    Settings::writePosition(Key::MainLeft, 1500);
    Settings::writePosition(Key::MainTop, 1800);
    frmMain& main = openWindow();
    EXPECT_EQ(main.pos(), QPoint(100, 120));
    main.move(300, 300);
    typeInto("txtURLneu", QStringLiteral("http://minimiert.example"));
    main.showMinimized();
    ASSERT_TRUE(main.isMinimized());

    frmMain& next = restart();

    EXPECT_EQ(Settings::readPosition(Key::MainLeft), 1500);
    EXPECT_EQ(Settings::readPosition(Key::MainTop), 1800);
    EXPECT_EQ(next.pos(), QPoint(100, 120));
    EXPECT_EQ(field("txtURLneu")->text(), QStringLiteral("http://minimiert.example"));
}

TEST_F(frmMainSettings, anEmptiedFieldIsStoredAndReadBackAsEmpty)
{
    openWindow();
    typeInto("txtVerzeichnis", QString());
    typeInto("txtURLneu", QString());

    restart();

    EXPECT_EQ(Settings::read(Key::Verzeichnis), QString());
    EXPECT_EQ(field("txtVerzeichnis")->text(), QString());
    EXPECT_EQ(field("txtURLneu")->text(), QString());
    EXPECT_EQ(field("txtDateitypen")->text(),
              QStringLiteral("htm;html;asp;php;php3;php4;shtml;shtm;shm;"));
}

TEST_F(frmMainSettings, aPositionThatIsNoNumberOrOffEveryScreenFallsBack)
{
    struct Row
    {
        const char* left;
        const char* top;
        QPoint expected;
    };
    const Row rows[] = {
        {"abc", "3000", QPoint(67, 200)},     // the number that is missing reads as 1000
        {"3000", "", QPoint(200, 67)},        //
        {"-3000", "3000", QPoint(-200, 200)}, // partly visible stays
        {"200000", "3000", QPoint(67, 67)},   // right of every screen
        {"-20000", "3000", QPoint(67, 67)},   // left of every screen
        {"3000", "-20000", QPoint(67, 67)},   // above every screen
        {"3000", "1e30", QPoint(67, 67)},     // far beyond any pixel count
        {"3000", "nan", QPoint(200, 67)},     // no number either
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.left) + ", " + row.top);
        Settings::write(Key::MainLeft, QString::fromLatin1(row.left));
        Settings::write(Key::MainTop, QString::fromLatin1(row.top));
        EXPECT_EQ(openWindow().pos(), row.expected);
        window.reset();
    }
}

namespace {

// A window of the program that notes when it is closed, and what the store
// held for the directory at that moment.
class NotingWindow : public QWidget
{
public:
    NotingWindow(QString name, QStringList& log) : m_name(std::move(name)), m_log(log) {}

protected:
    void closeEvent(QCloseEvent* event) override
    {
        m_log.append(m_name + QLatin1Char(':') + Settings::read(Key::Verzeichnis));
        QWidget::closeEvent(event);
    }

private:
    QString m_name;
    QStringList& m_log;
};

} // namespace

TEST_F(frmMainSettings, beendenClosesTheOtherWindowsNewestFirstThenSaves)
{
    Settings::write(Key::Verzeichnis, QStringLiteral("/alt"));
    openWindow();
    QStringList log;
    NotingWindow older(QStringLiteral("older"), log);
    NotingWindow newer(QStringLiteral("newer"), log);
    for (NotingWindow* other : {&older, &newer}) {
        windows.add(*other);
        other->show();
    }
    typeInto("txtVerzeichnis", QStringLiteral("/neu"));

    trigger("mnuFileExit");

    EXPECT_EQ(log, QStringList({QStringLiteral("newer:/alt"), QStringLiteral("older:/alt")}));
    EXPECT_FALSE(window->isVisible());
    EXPECT_FALSE(older.isVisible());
    EXPECT_EQ(Settings::read(Key::Verzeichnis), QStringLiteral("/neu"));
}
