#include "ExtrasMenu.h"

#include "OutputFiles.h"
#include "OutputFormat.h"
#include "Settings.h"
#include "SitemapFile.h"

#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>

namespace {

QString text(std::string_view utf8)
{
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

const QString AllFilesKey = QStringLiteral("AlleDateien");

} // namespace

ExtrasMenu::ExtrasMenu(QMainWindow& window)
    : QObject(&window), m_menu(new QMenu(QStringLiteral("E&xtras"), &window))
{
    QMenu* menu = m_menu;
    menu->setObjectName(QStringLiteral("mnuExtras"));
    menu->menuAction()->setObjectName(QStringLiteral("mnuExtras"));
    for (const OutputFormat& format : OutputFormat::all()) {
        // The choice of every file belongs to the server rules, below them.
        if (format.ChosenBy != OutputFormat::Choice::Server && !m_allFiles)
            m_allFiles = addEntry(QStringLiteral("Alle &Dateien weiterleiten (Bilder, PDF, CSS, "
                                                 "Skripte, Downloads)"),
                                  AllFilesKey);
        if (&format == &OutputFormat::report())
            menu->addSeparator()->setObjectName(QStringLiteral("mnuExtrasBar0"));
        if (!entry(format))
            m_entries.append(addEntry(text(format.MenuCaption), text(format.SettingsKey)));
    }

    QMenuBar* bar = window.menuBar();
    QAction* help = nullptr;
    for (QAction* action : bar->actions()) {
        if (action->objectName() == u"mnuHelp")
            help = action;
    }
    bar->insertMenu(help, menu);
}

QAction* ExtrasMenu::addEntry(const QString& caption, const QString& settingsKey)
{
    QAction* entry = m_menu->addAction(caption);
    entry->setObjectName(QStringLiteral("mnuExtras") + settingsKey);
    entry->setData(settingsKey);
    entry->setCheckable(true);
    return entry;
}

QAction* ExtrasMenu::entry(const OutputFormat& format) const
{
    const QString key = text(format.SettingsKey);
    for (QAction* entry : m_entries) {
        if (entry->data().toString() == key)
            return entry;
    }
    return nullptr;
}

bool ExtrasMenu::allFilesChosen() const
{
    return m_allFiles->isChecked();
}

void ExtrasMenu::choose(OutputFiles& files) const
{
    for (const OutputFormat& format : OutputFormat::all()) {
        if (entry(format)->isChecked())
            files.add(format);
    }
}

QString ExtrasMenu::refusal(const QString& oldAddress) const
{
    const OutputFormat* sitemap = OutputFormat::find("sitemap-alt");
    if (!entry(*sitemap)->isChecked())
        return {};
    const std::string refusal = SitemapFile::refusalForOldUrl(oldAddress.toStdString());
    if (refusal.empty())
        return {};
    return QStringLiteral("Die Sitemaps brauchen die alte Adresse der Site, wie sie unter "
                          "Extras › Umzug prüfen… steht.\n") +
           QString::fromStdString(refusal);
}

void ExtrasMenu::load()
{
    for (QAction* entry : m_entries)
        entry->setChecked(Settings::readExtra(entry->data().toString()));
    m_allFiles->setChecked(Settings::readExtra(AllFilesKey));
}

void ExtrasMenu::save() const
{
    for (QAction* entry : m_entries)
        Settings::writeExtra(entry->data().toString(), entry->isChecked());
    Settings::writeExtra(AllFilesKey, m_allFiles->isChecked());
}
