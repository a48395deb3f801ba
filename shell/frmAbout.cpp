#include "frmAbout.h"

#include "DesignFont.h"
#include "Dialogs.h"
#include "OwnerCentre.h"
#include "ShellImages.h"
#include "SysInfoStarter.h"
#include "Twips.h"
#include "WindowRegistry.h"

#include <QFrame>
#include <QLabel>
#include <QPushButton>

namespace {

constexpr double ClientWidth = 5865;
constexpr double ClientHeight = 3645;

const QString ApplicationTitle = QStringLiteral("Kelvane");

QString versionText()
{
    return QStringLiteral("Version %1.%2.%3")
        .arg(KELVANE_VERSION_MAJOR)
        .arg(KELVANE_VERSION_MINOR)
        .arg(KELVANE_VERSION_PATCH);
}

QString descriptionText()
{
    return QStringLiteral(
        "Kelvane darf frei verwendet und unverändert weitergegeben werden. Programm und Name "
        "sind Eigentum der Kelvane-Entwickler.\n"
        "Warnung: Die Nutzung erfolgt auf eigene Gefahr, ohne jede Gewährleistung.");
}

} // namespace

frmAbout::frmAbout(ShellContext context, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint),
      m_context(context)
{
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("About "));
    DesignFont::apply(*this);
    setFixedSize(twipsToPixels(ClientWidth), twipsToPixels(ClientHeight));
    createControls();
    connect(cmdOK, &QPushButton::clicked, this, &frmAbout::cmdOK_Click);
    connect(cmdSysInfo, &QPushButton::clicked, this, &frmAbout::cmdSysInfo_Click);
    Form_Load();
    DesignFont::widenToFit(*this);
    centreOverOwner(*this);
}

void frmAbout::createControls()
{
    picIcon = place(new QLabel(this), "picIcon", 240, 240, 480, 480);
    // At a scale factor of two the icon's finer drawing is taken.
    picIcon->setPixmap(ShellImages::programIcon().pixmap(QSize(32, 32), devicePixelRatioF()));
    picIcon->setAlignment(Qt::AlignCenter);

    lblTitle = place(new QLabel(this), "lblTitle", 1050, 240, 4092, 480);
    QFont titleFont = lblTitle->font();
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.5);
    titleFont.setBold(true);
    lblTitle->setFont(titleFont);

    lblVersion = place(new QLabel(this), "lblVersion", 1050, 780, 4092, 225);
    lblDescription = place(new QLabel(this), "lblDescription", 1050, 1125, 4092, 1170);
    lblDescription->setWordWrap(true);
    lblDescription->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    // A grey line over a white one draw the etched separator.
    createLine("Line1_1", QColor(0x80, 0x80, 0x80), 225, 2430, 5657, 15);
    createLine("Line1_0", QColor(0xFF, 0xFF, 0xFF), 240, 2445, 5657, 30);

    cmdOK = place(new QPushButton(QStringLiteral("OK"), this), "cmdOK", 4245, 2625, 1467, 345);
    cmdOK->setDefault(true);
    cmdSysInfo = place(new QPushButton(QStringLiteral("&System Info..."), this), "cmdSysInfo", 4260,
                       3075, 1452, 345);
    cmdSysInfo->setAutoDefault(false);
    setTabOrder(cmdOK, cmdSysInfo);
    cmdOK->setFocus();
}

QFrame* frmAbout::createLine(const char* name, const QColor& colour, double left, double top,
                             double right, double thickness)
{
    auto* line = place(new QFrame(this), name, left, top, right - left, thickness);
    line->setFrameShape(QFrame::NoFrame);
    line->setAutoFillBackground(true);
    QPalette palette = line->palette();
    palette.setColor(QPalette::Window, colour);
    line->setPalette(palette);
    return line;
}

void frmAbout::Form_Load()
{
    setWindowTitle(windowTitle() + mainWindowCaption());
    lblVersion->setText(versionText());
    lblTitle->setText(ApplicationTitle);
    lblDescription->setText(descriptionText());
}

QString frmAbout::mainWindowCaption() const
{
    if (const QWidget* mainWindow = m_context.windows.at(0))
        return mainWindow->windowTitle();
    if (const QWidget* owner = parentWidget())
        return owner->window()->windowTitle();
    return ApplicationTitle;
}

void frmAbout::cmdOK_Click()
{
    accept();
}

void frmAbout::reject()
{
    cmdOK_Click();
}

void frmAbout::cmdSysInfo_Click()
{
    StartSysInfo();
}

void frmAbout::StartSysInfo()
{
    if (!m_context.sysInfo.StartSysInfo())
        m_context.dialogs.message(this, ApplicationTitle,
                                  QStringLiteral("System Information Is Unavailable At This Time"),
                                  QMessageBox::NoIcon, QMessageBox::Ok);
}
