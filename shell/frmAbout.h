#pragma once

#include "ShellContext.h"

#include <QDialog>

class QFrame;
class QLabel;
class QPushButton;

// The about box: the program's icon, title, version and notices, and a
// button that starts the system's system-information tool. Opened modally
// over the window whose Info entry was chosen; OK, Enter and Esc close it.
class frmAbout : public QDialog
{
    Q_OBJECT

public:
    frmAbout(ShellContext context, QWidget* parent = nullptr);

    void cmdOK_Click();
    void cmdSysInfo_Click();
    // Starts the tool, or says that it is unavailable; the box stays open.
    void StartSysInfo();

    // Esc and the close box both go through OK.
    void reject() override;

private:
    void createControls();
    QFrame* createLine(const char* name, const QColor& colour, double left, double top,
                       double right, double thickness);
    void Form_Load();
    QString mainWindowCaption() const;

    ShellContext m_context;
    QLabel* picIcon = nullptr;
    QLabel* lblTitle = nullptr;
    QLabel* lblVersion = nullptr;
    QLabel* lblDescription = nullptr;
    QPushButton* cmdOK = nullptr;
    QPushButton* cmdSysInfo = nullptr;
};
