#include "MappingFile.h"

#include "Dialogs.h"
#include "Settings.h"
#include "Twips.h"
#include "TypedPath.h"

#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QStatusBar>
#include <filesystem>
#include <system_error>

namespace {

// The label never takes more of the status bar than this; the run's texts
// need the rest.
constexpr double LabelWidthTwips = 2400;

std::filesystem::path folderPath(const QString& typed)
{
    return std::filesystem::path(
        QString::fromStdString(TypedPath::resolve(typed.toStdString())).toStdU16String());
}

// Two spellings of one folder (a link, a trailing separator, another case on
// Windows) are the same folder; the system knows it by its identity.
bool sameFolder(const QString& first, const QString& second)
{
    if (first == second)
        return true;
    std::error_code error;
    return std::filesystem::equivalent(folderPath(first), folderPath(second), error) && !error;
}

} // namespace

MappingFile::MappingFile(QWidget& window, QStatusBar& statusBar, Dialogs& dialogs)
    : QObject(&window), m_window(window), m_dialogs(dialogs), lblZuordnung(new QLabel(&statusBar))
{
    lblZuordnung->setObjectName(QStringLiteral("lblZuordnung"));
    statusBar.addPermanentWidget(lblZuordnung);
    showInStatusBar();
}

QString MappingFile::path()
{
    return Settings::read(Settings::Key::Zuordnungsdatei);
}

void MappingFile::choose(const QString& file, const QString& folder)
{
    Settings::write(Settings::Key::Zuordnungsdatei, file);
    Settings::write(Settings::Key::ZuordnungsVerzeichnis, folder);
    showInStatusBar();
}

void MappingFile::clear()
{
    choose(QString(), QString());
}

bool MappingFile::mayBeUsedFor(const QString& folder)
{
    const QString file = path();
    const QString chosenFor = Settings::read(Settings::Key::ZuordnungsVerzeichnis);
    if (file.isEmpty() || (!chosenFor.isEmpty() && sameFolder(chosenFor, folder)))
        return true;
    const QString origin = chosenFor.isEmpty()
                               ? QStringLiteral("wurde für ein anderes Verzeichnis gewählt")
                               : QStringLiteral("wurde für das Verzeichnis\n") + chosenFor +
                                     QStringLiteral("\ngewählt");
    const QString question =
        QStringLiteral("Die Zuordnungsdatei\n") + file + u'\n' + origin +
        QStringLiteral(", nicht für\n") + folder +
        QStringLiteral("\n\nSoll sie auch für dieses Verzeichnis gelten? Mit „Nein“ wird "
                       "nichts geschrieben; Extras › Zuordnungsdatei… wählt eine andere.");
    if (m_dialogs.message(&m_window, QStringLiteral("Kelvane"), question, QMessageBox::Question,
                          QMessageBox::Yes | QMessageBox::No) != QMessageBox::Yes)
        return false;
    choose(file, folder);
    return true;
}

void MappingFile::showInStatusBar()
{
    const QString file = path();
    lblZuordnung->setVisible(!file.isEmpty());
    if (file.isEmpty())
        return;
    const QString text = QStringLiteral("Zuordnung: ") + QFileInfo(file).fileName();
    lblZuordnung->setText(lblZuordnung->fontMetrics().elidedText(text, Qt::ElideMiddle,
                                                                 twipsToPixels(LabelWidthTwips)));
    const QString chosenFor = Settings::read(Settings::Key::ZuordnungsVerzeichnis);
    lblZuordnung->setToolTip(
        QStringLiteral("Zuordnungsdatei: ") + QDir::toNativeSeparators(file) +
        (chosenFor.isEmpty() ? QString() : QStringLiteral("\nGewählt für: ") + chosenFor));
}
