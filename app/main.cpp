#include "DesignFont.h"
#include "GeometryDump.h"
#include "GermanQtTexts.h"
#include "NativeFileSystem.h"
#include "QtClipboard.h"
#include "QtDialogs.h"
#include "SharedState.h"
#include "SysInfoStarter.h"
#include "WindowRegistry.h"
#include "frmMain.h"

#include <QApplication>
#include <QDir>
#include <QStandardPaths>
#include <QTimer>

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Kelvane"));
    QApplication::setApplicationVersion(QStringLiteral(KELVANE_VERSION));
    QApplication::setQuitOnLastWindowClosed(true);
    // Lets the desktop match the windows to the installed entry and its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("example.kelvane.Kelvane"));
    // The program is German, and its windows were drawn for one font; the
    // dialogs and menus Qt makes for it follow both.
    const GermanQtTexts germanQtTexts;
    QApplication::setFont(DesignFont::font());

    QtDialogs dialogs;
    QtClipboard clipboard;
    WindowRegistry windows;
    SysInfoStarter sysInfo;
    NativeFileSystem fileSystem;

    // The templates lie beside the executable. An installed copy cannot
    // write there, so the user's own template then lives in the user's
    // data folder.
    SharedState state = SharedState::forInstallation(
        QDir::toNativeSeparators(QCoreApplication::applicationDirPath()).toStdString(),
        QDir::toNativeSeparators(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation))
            .toStdString(),
        fileSystem);
    state.seedUserTemplate(fileSystem);

    frmMain mainForm(state, fileSystem, ShellContext{dialogs, clipboard, windows, sysInfo});
    mainForm.show();
    QTimer::singleShot(0, &mainForm, [&mainForm] { GeometryDump::writeIfAsked(mainForm); });
    return QApplication::exec();
}
