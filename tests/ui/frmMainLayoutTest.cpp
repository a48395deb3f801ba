#include "MainWindowFixture.h"

#include <QGroupBox>
#include <QLabel>
#include <QMenuBar>
#include <QRadioButton>
#include <cmath>

namespace {

struct ControlRow
{
    const char* name;
    int option; // index into optHTML, or -1
    const char* caption;
    const char* container;
    double left, top, width, height;
};

// Positions in twips as designed: tops of controls on the window count from
// the top of the client area, where the toolbar lies.
const ControlRow Controls[] = {
    {"fraDateiwahl", -1, "Dateiwahl", "clientArea", 240, 600, 6735, 1575},
    {"lblVerzeichnis", -1, "Verzeichnis:", "fraDateiwahl", 240, 240, 1215, 255},
    {"txtVerzeichnis", -1, nullptr, "fraDateiwahl", 1440, 240, 3495, 285},
    {"cmdVerzeichnis", -1, "...", "fraDateiwahl", 5040, 240, 375, 255},
    {"lblDateiwahlBeschreibung", -1,
     "Es werden alle Dateien mit den eingegeben Dateitypen berücksichtigt, die sich in dem "
     "Verzeichnis (inkl. aller Unterverzeichnisse) befinden.",
     "fraDateiwahl", 240, 960, 6255, 495},
    {"lblDateitypen", -1, "Dateitypen:", "fraDateiwahl", 240, 615, 1215, 255},
    {"txtDateitypen", -1, nullptr, "fraDateiwahl", 1440, 600, 3495, 285},
    {"fraHTMLCode", -1, "HTML-Code", "clientArea", 240, 2280, 6735, 2175},
    {"lblHTMLCodeBeschreibung", -1,
     "Für jede der oben gewählten Dateien wird eine Datei mit folgendem HTML-Code erzeugt:",
     "fraHTMLCode", 240, 240, 6135, 495},
    {"lblHTMLCode", -1, "HTML-Code:", "fraHTMLCode", 240, 720, 1215, 255},
    {"optHTML", 0, "Standard", "fraHTMLCode", 1440, 720, 975, 255},
    {"optHTML", 1, "Benutzerdefiniert", "fraHTMLCode", 2520, 720, 1815, 255},
    {"cmdHTML", -1, "Anzeigen", "fraHTMLCode", 4440, 660, 1095, 375},
    {"Label1", -1, "Die Zeichenfolge %URL% wird dabei durch die neue URL der Homepage ersetzt:",
     "fraHTMLCode", 240, 1200, 6135, 255},
    {"lblURLneu", -1, "neue URL:", "fraHTMLCode", 240, 1470, 1215, 255},
    {"txtURLneu", -1, nullptr, "fraHTMLCode", 1440, 1440, 3495, 285},
    {"chkUnterverzeichnis", -1, "Unterverzeichnis+Dateiname anhängen", "fraHTMLCode", 1440, 1800,
     3495, 255},
    {"cmdStart", -1, "Start", "clientArea", 240, 4560, 6735, 375},
};

int pixels(double twips)
{
    return static_cast<int>(std::lround(twips / 15));
}

QString captionOf(const QWidget* widget)
{
    if (const auto* label = qobject_cast<const QLabel*>(widget))
        return label->text();
    if (const auto* frame = qobject_cast<const QGroupBox*>(widget))
        return frame->title();
    if (const auto* button = qobject_cast<const QAbstractButton*>(widget))
        return button->text();
    return {};
}

} // namespace

using frmMainLayout = MainWindowFixture;

TEST_F(frmMainLayout, placesEveryControlWithItsCaption)
{
    openWindow();
    for (const ControlRow& row : Controls) {
        SCOPED_TRACE(row.name);
        QWidget* widget = row.option >= 0 ? option(row.option) : control(row.name);
        ASSERT_NE(widget, nullptr);
        EXPECT_EQ(widget->objectName(), QString::fromLatin1(row.name));
        EXPECT_EQ(widget->parentWidget()->objectName(), QString::fromLatin1(row.container));
        const double top = QString::fromLatin1(row.container) == QStringLiteral("clientArea")
                               ? row.top - 420
                               : row.top;
        const QRect designed(pixels(row.left), pixels(top), pixels(row.width), pixels(row.height));
        EXPECT_EQ(widget->pos(), designed.topLeft());
        // The design font fits every caption into its designed width, so no
        // control had to grow.
        EXPECT_EQ(widget->size(), designed.size());
        if (row.caption != nullptr) {
            EXPECT_EQ(captionOf(widget), QString::fromUtf8(row.caption));
        }
    }
}

TEST_F(frmMainLayout, isAFixedWindowWithMinimizeButOnlyTheClientAreaBelowTheMenu)
{
    frmMain& main = openWindow();
    EXPECT_EQ(main.windowTitle(), QStringLiteral("Kelvane"));
    EXPECT_EQ(main.minimumSize(), main.maximumSize());
    EXPECT_TRUE(main.windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
    EXPECT_FALSE(main.windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
    const int menuHeight = main.menuWidget() != nullptr ? main.menuWidget()->height() : 0;
    EXPECT_EQ(main.width(), 473);
    EXPECT_EQ(main.height() - menuHeight, 368);
    EXPECT_EQ(main.shell().action(QStringLiteral("mnuFileExit"))->text(),
              QStringLiteral("&Beenden"));
}

TEST_F(frmMainLayout, tabWalksTheControlsInTheirOrder)
{
    openWindow();
    const QList<QWidget*> expected{field("txtVerzeichnis"),
                                   button("cmdVerzeichnis"),
                                   field("txtDateitypen"),
                                   option(0),
                                   option(1),
                                   button("cmdHTML"),
                                   field("txtURLneu"),
                                   button("cmdStart"),
                                   button("chkUnterverzeichnis")};
    QList<QWidget*> walked;
    QWidget* current = expected.first();
    do {
        if (expected.contains(current))
            walked.append(current);
        current = current->nextInFocusChain();
    } while (current != expected.first());
    EXPECT_EQ(walked, expected);
}

TEST_F(frmMainLayout, firstStartWithAnEmptyStoreShowsTheDefaults)
{
    frmMain& main = openWindow();
    EXPECT_EQ(main.pos(), QPoint(pixels(1000), pixels(1000)));
    EXPECT_EQ(field("txtVerzeichnis")->text(), QDir::homePath() + QStringLiteral("/wwwroot"));
    EXPECT_EQ(field("txtDateitypen")->text(),
              QStringLiteral("htm;html;asp;php;php3;php4;shtml;shtm;shm;"));
    EXPECT_EQ(field("txtURLneu")->text(), QStringLiteral("http://www.example.com/subdir1/subdir2"));
    EXPECT_TRUE(option(0)->isChecked());
    EXPECT_FALSE(option(1)->isChecked());
    EXPECT_EQ(button("cmdHTML")->text(), QStringLiteral("Anzeigen"));
    EXPECT_EQ(control<QCheckBox>("chkUnterverzeichnis")->checkState(), Qt::Checked);
    EXPECT_TRUE(state.UseStandardTemplate);
    EXPECT_EQ(statusText(), QStringLiteral("Welcome!"));
}
