#include "QtDialogs.h"

#include "LocalFileDates.h"

#include <QDialog>
#include <QDir>
#include <QEvent>
#include <QEventLoop>
#include <QFileDialog>
#include <QPointer>
#include <QRegularExpression>

namespace {

// Ends a local event loop when the watched window is hidden, which is the
// last thing that happens when it closes.
class HideWatcher final : public QObject
{
public:
    explicit HideWatcher(QEventLoop& loop) : m_loop(loop) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Hide && !event->spontaneous())
            m_loop.quit();
        return QObject::eventFilter(watched, event);
    }

private:
    QEventLoop& m_loop;
};

} // namespace

QMessageBox::StandardButton QtDialogs::message(QWidget* parent, const QString& title,
                                               const QString& text, QMessageBox::Icon icon,
                                               QMessageBox::StandardButtons buttons)
{
    QMessageBox box(icon, title, text, buttons, parent);
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

QString QtDialogs::chooseFolder(QWidget* parent, const QString& prompt)
{
    // Qt's own dialog speaks the program's German; a desktop's dialog would
    // speak the desktop's language.
    QFileDialog dialog(parent, prompt);
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOptions(QFileDialog::ShowDirsOnly | QFileDialog::DontUseNativeDialog);
    dialog.setProxyModel(new LocalFileDates(&dialog));
    if (dialog.exec() != QDialog::Accepted)
        return {};
    return QDir::toNativeSeparators(dialog.selectedFiles().value(0));
}

QString QtDialogs::chooseFile(QWidget* parent, const QString& caption, const QString& filter,
                              bool forSaving)
{
    QFileDialog dialog(parent, caption, QString(), filter);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setProxyModel(new LocalFileDates(&dialog));
    if (forSaving) {
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        // A name typed without extension gets the filter's, before the
        // dialog asks whether to replace the file of that name.
        static const QRegularExpression firstPattern(QStringLiteral("\\*\\.(\\w+)"));
        dialog.setDefaultSuffix(firstPattern.match(filter).captured(1));
    } else {
        dialog.setFileMode(QFileDialog::ExistingFile);
    }
    if (dialog.exec() != QDialog::Accepted)
        return {};
    return QDir::toNativeSeparators(dialog.selectedFiles().value(0));
}

void QtDialogs::runModal(QWidget& window)
{
    if (auto* dialog = qobject_cast<QDialog*>(&window)) {
        dialog->exec();
        return;
    }
    // A main window has no exec(); it gets the same treatment by hand: it
    // blocks every other window and the caller waits until it is closed.
    QPointer<QWidget> guard(&window);
    QEventLoop loop;
    HideWatcher watcher(loop);
    window.installEventFilter(&watcher);
    QObject::connect(&window, &QObject::destroyed, &loop, &QEventLoop::quit);
    window.setWindowModality(Qt::ApplicationModal);
    window.show();
    if (window.isVisible())
        loop.exec(QEventLoop::DialogExec);
    if (guard)
        guard->removeEventFilter(&watcher);
}
