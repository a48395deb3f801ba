#include "RunProgress.h"

#include "Twips.h"

#include <QLabel>
#include <QProgressBar>
#include <QStatusBar>
#include <initializer_list>

namespace {

constexpr double BarWidth = 1500;
// What the status bar's frame and margins take of its height.
constexpr int StatusBarPadding = 4;

QString countText(int written, int found)
{
    return QStringLiteral("%1 von %2").arg(written).arg(found);
}

} // namespace

RunProgress::RunProgress(QStatusBar& statusBar) : QObject(&statusBar)
{
    setObjectName(QStringLiteral("runProgress"));
    prgFortschritt = new QProgressBar(&statusBar);
    prgFortschritt->setObjectName(QStringLiteral("prgFortschritt"));
    prgFortschritt->setTextVisible(false);
    prgFortschritt->setFixedSize(twipsToPixels(BarWidth),
                                 statusBar.maximumHeight() - StatusBarPadding);
    lblFortschritt = new QLabel(&statusBar);
    lblFortschritt->setObjectName(QStringLiteral("lblFortschritt"));
    for (QWidget* part : std::initializer_list<QWidget*>{lblFortschritt, prgFortschritt}) {
        part->hide();
        statusBar.addPermanentWidget(part);
    }
}

void RunProgress::show(int pagesWritten, int pagesFound)
{
    if (prgFortschritt->isHidden()) {
        prgFortschritt->setRange(0, pagesFound);
        // As wide as the run's longest count, so that the status text
        // beside it does not jump while the count grows.
        lblFortschritt->setText(countText(pagesFound, pagesFound));
        lblFortschritt->setFixedWidth(lblFortschritt->sizeHint().width());
        prgFortschritt->show();
        lblFortschritt->show();
    }
    prgFortschritt->setValue(pagesWritten);
    lblFortschritt->setText(countText(pagesWritten, pagesFound));
}

void RunProgress::hide()
{
    prgFortschritt->hide();
    prgFortschritt->reset();
    lblFortschritt->hide();
}
