#include "DesignFrame.h"
#include "RunProgress.h"
#include "Twips.h"
#include "WindowShell.h"
#include "frmMain.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>

namespace {

// The client area holds the toolbar at its top edge and the status bar at its
// bottom edge; the controls are placed in the strip between them.
constexpr double ClientWidth = 7095;
constexpr double ClientHeight = 5520;

QLabel* wrappedLabel(const QString& text, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return label;
}

} // namespace

void frmMain::createControls()
{
    auto* client = new QWidget(this);
    client->setObjectName(QStringLiteral("clientArea"));
    fraDateiwahl = placeBelowToolBar(createDateiwahl(client), "fraDateiwahl", 240, 600, 6735, 1575);
    fraHTMLCode = placeBelowToolBar(createHTMLCode(client), "fraHTMLCode", 240, 2280, 6735, 2175);
    cmdStart = placeBelowToolBar(new QPushButton(QStringLiteral("Start"), client), "cmdStart", 240,
                                 4560, 6735, 375);
    m_shell->setClientArea(*client);

    m_progress = new RunProgress(*m_shell->statusBar());

    setTabOrder();
    setFixedClientSize();
}

DesignFrame* frmMain::createDateiwahl(QWidget* parent)
{
    auto* frame = new DesignFrame(QStringLiteral("Dateiwahl"), parent);
    lblVerzeichnis = place(new QLabel(QStringLiteral("Verzeichnis:"), frame), "lblVerzeichnis", 240,
                           240, 1215, 255);
    txtVerzeichnis = place(new QLineEdit(frame), "txtVerzeichnis", 1440, 240, 3495, 285);
    cmdVerzeichnis =
        place(new QPushButton(QStringLiteral("..."), frame), "cmdVerzeichnis", 5040, 240, 375, 255);
    lblDateiwahlBeschreibung =
        place(wrappedLabel(QStringLiteral("Es werden alle Dateien mit den eingegeben Dateitypen "
                                          "berücksichtigt, die sich in dem Verzeichnis (inkl. "
                                          "aller Unterverzeichnisse) befinden."),
                           frame),
              "lblDateiwahlBeschreibung", 240, 960, 6255, 495);
    lblDateitypen = place(new QLabel(QStringLiteral("Dateitypen:"), frame), "lblDateitypen", 240,
                          615, 1215, 255);
    txtDateitypen = place(new QLineEdit(frame), "txtDateitypen", 1440, 600, 3495, 285);
    return frame;
}

DesignFrame* frmMain::createHTMLCode(QWidget* parent)
{
    auto* frame = new DesignFrame(QStringLiteral("HTML-Code"), parent);
    lblHTMLCodeBeschreibung =
        place(wrappedLabel(QStringLiteral("Für jede der oben gewählten Dateien wird eine Datei "
                                          "mit folgendem HTML-Code erzeugt:"),
                           frame),
              "lblHTMLCodeBeschreibung", 240, 240, 6135, 495);
    lblHTMLCode =
        place(new QLabel(QStringLiteral("HTML-Code:"), frame), "lblHTMLCode", 240, 720, 1215, 255);

    optHTMLStandard =
        place(new QRadioButton(QStringLiteral("Standard"), frame), "optHTML", 1440, 720, 975, 255);
    optHTMLBenutzer = place(new QRadioButton(QStringLiteral("Benutzerdefiniert"), frame), "optHTML",
                            2520, 720, 1815, 255);
    optHTML = new QButtonGroup(this);
    optHTML->setObjectName(QStringLiteral("optHTML"));
    optHTML->addButton(optHTMLStandard, 0);
    optHTML->addButton(optHTMLBenutzer, 1);
    optHTMLStandard->setChecked(true);

    cmdHTML =
        place(new QPushButton(QStringLiteral("Anzeigen"), frame), "cmdHTML", 4440, 660, 1095, 375);
    Label1 = place(new QLabel(QStringLiteral("Die Zeichenfolge %URL% wird dabei durch die neue "
                                             "URL der Homepage ersetzt:"),
                              frame),
                   "Label1", 240, 1200, 6135, 255);
    lblURLneu =
        place(new QLabel(QStringLiteral("neue URL:"), frame), "lblURLneu", 240, 1470, 1215, 255);
    txtURLneu = place(new QLineEdit(frame), "txtURLneu", 1440, 1440, 3495, 285);
    chkUnterverzeichnis =
        place(new QCheckBox(QStringLiteral("Unterverzeichnis+Dateiname anhängen"), frame),
              "chkUnterverzeichnis", 1440, 1800, 3495, 255);
    chkUnterverzeichnis->setCheckState(Qt::Checked);
    return frame;
}

void frmMain::setTabOrder()
{
    // Frames and labels take no focus, so the keyboard walks the controls
    // that can hold it in the order of their tab positions.
    QWidget* const order[] = {txtVerzeichnis,  cmdVerzeichnis,  txtDateitypen,
                              optHTMLStandard, optHTMLBenutzer, cmdHTML,
                              txtURLneu,       cmdStart,        chkUnterverzeichnis};
    for (std::size_t i = 1; i < std::size(order); ++i)
        QWidget::setTabOrder(order[i - 1], order[i]);
}

void frmMain::setFixedClientSize()
{
    // The menu bar lies outside the client area; the window cannot be
    // resized or maximized.
    const int menuHeight = menuWidget() != nullptr ? menuWidget()->sizeHint().height() : 0;
    setFixedSize(twipsToPixels(ClientWidth), menuHeight + twipsToPixels(ClientHeight));
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
}
