#include "CaptionChecks.h"
#include "MainWindowFixture.h"
#include "RunProgress.h"
#include "Settings.h"

#include <QLabel>
#include <QProgressBar>
#include <QStatusBar>
#include <QStyle>
#include <QStyleFactory>
#include <QToolBar>
#include <map>

namespace {

// Lets the window lay itself out again after a bar came or went.
void settle()
{
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
}

// Where every control of the window lies, in window coordinates.
std::map<std::string, QRect> placesOf(const QMainWindow& window)
{
    std::map<std::string, QRect> places;
    const auto* client = window.findChild<QWidget*>(QStringLiteral("clientArea"));
    for (const QWidget* control : client->findChildren<QWidget*>()) {
        if (!control->objectName().isEmpty())
            places[control->objectName().toStdString()] =
                QRect(control->mapTo(&window, QPoint(0, 0)), control->size());
    }
    return places;
}

// The first pixel row of the picture that differs from its top row.
int firstDrawnRow(const QImage& image, int x)
{
    for (int y = 1; y < image.height(); ++y) {
        if (image.pixel(x, y) != image.pixel(x, 0))
            return y;
    }
    return -1;
}

class frmMainLook : public MainWindowFixture, public ::testing::WithParamInterface<const char*>
{
protected:
    void SetUp() override
    {
        MainWindowFixture::SetUp();
        m_previousStyle = QApplication::style()->name();
        QApplication::setStyle(QStyleFactory::create(QString::fromLatin1(GetParam())));
    }

    void TearDown() override
    {
        MainWindowFixture::TearDown();
        QApplication::setStyle(QStyleFactory::create(m_previousStyle));
    }

private:
    QString m_previousStyle;
};

TEST_P(frmMainLook, framesDrawTheirLineWhereNoControlLies)
{
    openWindow();
    const QList<DesignFrame*> frames = window->findChildren<DesignFrame*>();
    ASSERT_EQ(frames.size(), 2);
    for (DesignFrame* frame : frames) {
        SCOPED_TRACE(frame->objectName().toStdString());
        // The line as painted, right of the caption: at the caption's middle.
        const int line = firstDrawnRow(frame->grab().toImage(), frame->width() - 8);
        EXPECT_EQ(line, frame->lineRow());
        EXPECT_GT(line, 2);
        EXPECT_LT(line, frame->fontMetrics().height() - 2);
        for (const QWidget* control : frame->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            SCOPED_TRACE(control->objectName().toStdString());
            EXPECT_TRUE(frame->inside().contains(control->geometry()));
            EXPECT_GT(control->y(), line + 1);
        }
    }
    expectCaptionsWholeInDesignFont(*window);
}

INSTANTIATE_TEST_SUITE_P(Styles, frmMainLook, ::testing::Values("Fusion", "Windows"));

using frmMainBars = MainWindowFixture;

TEST_F(frmMainBars, hidingEitherBarLeavesEveryControlInPlace)
{
    openWindow();
    settle();
    const auto designed = placesOf(*window);
    ASSERT_GT(designed.size(), 15u);
    for (const char* toggles : {"mnuViewToolbar", "mnuViewStatusBar", "mnuViewToolbar"}) {
        SCOPED_TRACE(toggles);
        trigger(toggles);
        settle();
        for (const auto& [name, place] : placesOf(*window))
            EXPECT_EQ(place, designed.at(name)) << name;
    }
    EXPECT_TRUE(window->shell().toolBar()->isVisible());
    EXPECT_FALSE(window->shell().statusBar()->isVisible());
}

TEST_F(frmMainBars, progressAndLongStatusTextsFitTheStatusBar)
{
    openWindow();
    QStatusBar* bar = window->shell().statusBar();
    auto* progress = window->findChild<RunProgress*>();
    ASSERT_NE(progress, nullptr);
    auto* count = control<QLabel>("lblFortschritt");
    for (const int pages : {9, 10000, 100000, 1000000}) {
        SCOPED_TRACE(pages);
        progress->show(pages - 1, pages);
        progress->show(pages, pages);
        window->shell().setStatusText(
            QStringLiteral("Schreibe seite.htm in /home/benutzer/Homepage_Moved/a/b/Ordner 29"));
        settle();
        EXPECT_EQ(count->text(), QStringLiteral("%1 von %1").arg(pages));
        EXPECT_LE(count->sizeHint().width(), count->width());
        EXPECT_LE(count->sizeHint().height(), count->height());
        for (const QWidget* part : {static_cast<QWidget*>(count), control("prgFortschritt")})
            EXPECT_TRUE(bar->rect().contains(part->geometry()));
        const auto* panel = control<QLabel>("sbStatusBarPanel1");
        EXPECT_GT(panel->width(), 150);
        EXPECT_LE(panel->fontMetrics().horizontalAdvance(panel->text()),
                  panel->contentsRect().width());
        EXPECT_TRUE(panel->text().startsWith(QStringLiteral("Schreibe seite.htm in /home/")));
        EXPECT_TRUE(panel->text().endsWith(QStringLiteral("/Ordner 29")));
        progress->hide();
    }
}

TEST_F(frmMainBars, fieldsShowTheirTextFromItsStart)
{
    const QString longText = QStringLiteral("htm;") + QString(200, QLatin1Char('x'));
    for (const auto key :
         {Settings::Key::Verzeichnis, Settings::Key::Dateitypen, Settings::Key::URLneu})
        Settings::write(key, longText);
    openWindow();
    const char* const fields[] = {"txtVerzeichnis", "txtDateitypen", "txtURLneu"};
    for (const char* name : fields) {
        EXPECT_EQ(field(name)->text(), longText);
        EXPECT_EQ(field(name)->cursorPosition(), 0) << name;
        field(name)->end(false);
    }
    trigger("mnuFileNew");
    for (const char* name : fields)
        EXPECT_EQ(field(name)->cursorPosition(), 0) << name;
}

} // namespace
