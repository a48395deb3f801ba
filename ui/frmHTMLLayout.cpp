// The editor window's controls, placed as designed in twips.

#include "Twips.h"
#include "WindowShell.h"
#include "frmHTML.h"

#include <QLabel>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>

namespace {

constexpr double ClientWidth = 7095;
constexpr double ClientHeight = 5370;

} // namespace

void frmHTML::createControls()
{
    auto* client = new QWidget(this);
    client->setObjectName(QStringLiteral("clientArea"));

    txtCode = placeBelowToolBar(new QPlainTextEdit(client), "txtCode", 240, 600, 6735, 2655);
    txtCode->setLineWrapMode(QPlainTextEdit::NoWrap);
    txtCode->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    txtCode->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    // Tab walks on to the buttons, as in the other fields of the program.
    txtCode->setTabChangesFocus(true);

    cmdDefault = placeBelowToolBar(new QPushButton(QStringLiteral("Default"), client), "cmdDefault",
                                   240, 3360, 1215, 375);
    cmdSpeichern = placeBelowToolBar(new QPushButton(QStringLiteral("Speichern"), client),
                                     "cmdSpeichern", 4440, 3360, 1215, 375);
    cmdAbbrechen = placeBelowToolBar(new QPushButton(QStringLiteral("Abbrechen"), client),
                                     "cmdAbbrechen", 5760, 3360, 1215, 375);

    lblAnmerkung =
        placeBelowToolBar(new QLabel(QStringLiteral("Anmerkung: Erfahrene Anwender können auch "
                                                    "folgende Datei mit einem Programm ihrer Wahl "
                                                    "bearbeiten:"),
                                     client),
                          "lblAnmerkung", 360, 3840, 6615, 375);
    lblAnmerkung->setWordWrap(true);
    lblAnmerkung->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    txtDateiname =
        placeBelowToolBar(new QPlainTextEdit(client), "txtDateiname", 360, 4320, 6615, 525);
    txtDateiname->setReadOnly(true);
    txtDateiname->setFrameShape(QFrame::NoFrame);
    txtDateiname->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    txtDateiname->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    txtDateiname->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    txtDateiname->document()->setDocumentMargin(0);
    QPalette buttonFace = txtDateiname->palette();
    buttonFace.setColor(QPalette::Base, buttonFace.color(QPalette::Button));
    txtDateiname->setPalette(buttonFace);

    m_shell->setClientArea(*client);
    setTabOrder();
    setFixedClientSize();
}

void frmHTML::setTabOrder()
{
    QWidget* const order[] = {txtCode, cmdDefault, cmdSpeichern, cmdAbbrechen, txtDateiname};
    for (std::size_t i = 1; i < std::size(order); ++i)
        QWidget::setTabOrder(order[i - 1], order[i]);
    txtCode->setFocus();
}

void frmHTML::setFixedClientSize()
{
    // The menu bar lies outside the client area; the window cannot be
    // resized or maximized.
    const int menuHeight = menuWidget() != nullptr ? menuWidget()->sizeHint().height() : 0;
    setFixedSize(twipsToPixels(ClientWidth), menuHeight + twipsToPixels(ClientHeight));
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
}
