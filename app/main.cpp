#include "NativeFileSystem.h"
#include "QtClipboard.h"
#include "QtDialogs.h"
#include "SharedState.h"
#include "SysInfoStarter.h"
#include "WindowRegistry.h"
#include "frmMain.h"

#include <QApplication>
#include <QDir>

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Kelvane"));
    QApplication::setApplicationVersion(QStringLiteral(KELVANE_VERSION));
    QApplication::setQuitOnLastWindowClosed(true);

    // The templates lie beside the executable, wherever it was installed.
    SharedState state = SharedState::forProgramFolder(
        QDir::toNativeSeparators(QCoreApplication::applicationDirPath()).toStdString());

    QtDialogs dialogs;
    QtClipboard clipboard;
    WindowRegistry windows;
    SysInfoStarter sysInfo;
    NativeFileSystem fileSystem;

    frmMain mainForm(state, fileSystem, ShellContext{dialogs, clipboard, windows, sysInfo});
    mainForm.show();
    return QApplication::exec();
}
