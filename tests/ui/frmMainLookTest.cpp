#include "CaptionChecks.h"
#include "MainWindowFixture.h"
#include "RunProgress.h"
#include "Settings.h"

#include <QStatusBar>
#include <QStyle>
#include <QStyleFactory>

namespace {

// Lets the window lay itself out again after a bar came or went.
void settle()
{
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
}

// Where the controls lie in the window.
QList<QRect> placesOf(const QMainWindow& window)
{
    QList<QRect> places;
    for (const QWidget* control :
         window.findChild<QWidget*>(QStringLiteral("clientArea"))->findChildren<QWidget*>())
        places.append(QRect(control->mapTo(&window, QPoint(0, 0)), control->size()));
    return places;
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
        // The first row painted right of the caption is the line.
        const QImage image = frame->grab().toImage();
        int line = 1;
        while (line < image.height() &&
               image.pixel(frame->width() - 8, line) == image.pixel(frame->width() - 8, 0))
            ++line;
        EXPECT_EQ(line, frame->lineRow());
        EXPECT_LT(line, frame->fontMetrics().height() - 2) << "the caption sits on the line";
        for (const QWidget* control : frame->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            EXPECT_TRUE(frame->inside().contains(control->geometry()))
                << control->objectName().toStdString();
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
    const QList<QRect> designed = placesOf(*window);
    for (const char* toggle : {"mnuViewToolbar", "mnuViewStatusBar", "mnuViewToolbar"}) {
        trigger(toggle);
        settle();
        EXPECT_EQ(placesOf(*window), designed) << toggle;
    }
    EXPECT_FALSE(window->shell().statusBar()->isVisible());
}

TEST_F(frmMainBars, progressAndLongStatusTextsFitTheStatusBarOnOneLine)
{
    openWindow();
    QStatusBar* bar = window->shell().statusBar();
    auto* count = control<QLabel>("lblFortschritt");
    const auto* panel = control<QLabel>("sbStatusBarPanel1");
    for (const int pages : {9, 10000, 100000, 1000000}) {
        SCOPED_TRACE(pages);
        window->findChild<RunProgress*>()->show(pages, pages);
        window->shell().setStatusText(
            QStringLiteral("Schreibe seite.htm in /home/benutzer/Homepage_Moved/Unterordner/noch "
                           "ein Unterordner/a/b/Ordner 29"));
        settle();
        EXPECT_EQ(count->text(), QStringLiteral("%1 von %1").arg(pages));
        EXPECT_LE(count->sizeHint().width(), count->width());
        for (const QWidget* part : {static_cast<QWidget*>(count), control("prgFortschritt")})
            EXPECT_TRUE(bar->rect().contains(part->geometry()));
        EXPECT_GT(panel->width(), 150);
        EXPECT_LE(panel->fontMetrics().horizontalAdvance(panel->text()),
                  panel->contentsRect().width());
        EXPECT_TRUE(panel->text().startsWith(QStringLiteral("Schreibe seite.htm in /home/…/")));
        window->findChild<RunProgress*>()->hide();
    }
}

TEST_F(frmMainBars, fieldsShowTheirTextFromItsStartAfterLoadAndNew)
{
    for (const auto key : {Settings::Key::Verzeichnis, Settings::Key::URLneu})
        Settings::write(key, QString(200, QLatin1Char('x')));
    openWindow();
    const char* const fields[] = {"txtVerzeichnis", "txtDateitypen", "txtURLneu"};
    for (const char* name : fields) {
        EXPECT_EQ(field(name)->cursorPosition(), 0) << name;
        field(name)->end(false);
    }
    trigger("mnuFileNew");
    for (const char* name : fields)
        EXPECT_EQ(field(name)->cursorPosition(), 0) << name;
}

} // namespace
