// Times one relocation run through the main window, on the offscreen platform:
//   kelvane-gui-bench DIRECTORY URL
// prints "SECONDS PAGES" on one line. The output root is replaced without
// asking; any other message ends the benchmark with an error.

#include "Dialogs.h"
#include "NativeFileSystem.h"
#include "QtClipboard.h"
#include "SharedState.h"
#include "SysInfoStarter.h"
#include "WindowRegistry.h"
#include "WindowShell.h"
#include "frmMain.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QLineEdit>
#include <QRegularExpression>
#include <QSettings>
#include <QTemporaryDir>
#include <chrono>
#include <cstdio>

namespace {

class AnswerYes final : public Dialogs
{
public:
    QStringList errors;

    QMessageBox::StandardButton message(QWidget*, const QString&, const QString& text,
                                        QMessageBox::Icon,
                                        QMessageBox::StandardButtons buttons) override
    {
        if (buttons.testFlag(QMessageBox::Yes))
            return QMessageBox::Yes;
        errors.append(text);
        return QMessageBox::Ok;
    }
    QString chooseFolder(QWidget*, const QString&) override { return {}; }
    QString chooseFile(QWidget*, const QString&, const QString&, bool) override { return {}; }
    void runModal(QWidget& window) override { window.close(); }
};

void fill(frmMain& window, const char* name, const QString& text)
{
    window.findChild<QLineEdit*>(QString::fromLatin1(name))->setText(text);
}

} // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Kelvane"));
    if (argc != 3) {
        std::fprintf(stderr, "usage: kelvane-gui-bench DIRECTORY URL\n");
        return 2;
    }
    // The window reads and writes the settings store; keep the user's apart.
    QTemporaryDir settings;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings.path());
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settings.path());

    SharedState state = SharedState::forProgramFolder(
        QDir::toNativeSeparators(QCoreApplication::applicationDirPath()).toStdString());
    AnswerYes dialogs;
    QtClipboard clipboard;
    WindowRegistry windows;
    SysInfoStarter sysInfo;
    NativeFileSystem fileSystem;
    frmMain window(state, fileSystem, ShellContext{dialogs, clipboard, windows, sysInfo});
    window.show();
    QCoreApplication::processEvents();

    fill(window, "txtVerzeichnis", QString::fromLocal8Bit(argv[1]));
    fill(window, "txtURLneu", QString::fromLocal8Bit(argv[2]));
    window.findChild<QCheckBox*>(QStringLiteral("chkUnterverzeichnis"))->setChecked(true);

    const auto start = std::chrono::steady_clock::now();
    window.cmdStart_Click();
    const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;

    const QString status = window.shell().statusText();
    const auto match =
        QRegularExpression(QStringLiteral("^Fertig, (\\d+) Dateien verarbeitet$")).match(status);
    for (const QString& error : dialogs.errors)
        std::fprintf(stderr, "%s\n", qUtf8Printable(error));
    if (!match.hasMatch()) {
        std::fprintf(stderr, "run did not finish: %s\n", qUtf8Printable(status));
        return 1;
    }
    std::printf("%.3f %s\n", elapsed.count(), qUtf8Printable(match.captured(1)));
    return 0;
}
