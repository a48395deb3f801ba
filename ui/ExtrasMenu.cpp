#include "ExtrasMenu.h"

#include "OutputFiles.h"
#include "OutputFormat.h"
#include "Settings.h"

#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>

namespace {

QString text(std::string_view utf8)
{
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

} // namespace

ExtrasMenu::ExtrasMenu(QMainWindow& window)
    : QObject(&window), m_menu(new QMenu(QStringLiteral("E&xtras"), &window))
{
    QMenu* menu = m_menu;
    menu->setObjectName(QStringLiteral("mnuExtras"));
    menu->menuAction()->setObjectName(QStringLiteral("mnuExtras"));
    for (const OutputFormat& format : OutputFormat::all()) {
        if (&format == &OutputFormat::report())
            menu->addSeparator()->setObjectName(QStringLiteral("mnuExtrasBar0"));
        QAction* entry = menu->addAction(text(format.MenuCaption));
        entry->setObjectName(QStringLiteral("mnuExtras") + text(format.SettingsKey));
        entry->setCheckable(true);
        m_entries.append(entry);
    }

    QMenuBar* bar = window.menuBar();
    QAction* help = nullptr;
    for (QAction* action : bar->actions()) {
        if (action->objectName() == u"mnuHelp")
            help = action;
    }
    bar->insertMenu(help, menu);
}

QAction* ExtrasMenu::entry(const OutputFormat& format) const
{
    const auto formats = OutputFormat::all();
    return m_entries.value(static_cast<qsizetype>(&format - formats.data()));
}

void ExtrasMenu::choose(OutputFiles& files) const
{
    for (const OutputFormat& format : OutputFormat::all()) {
        if (entry(format)->isChecked())
            files.add(format);
    }
}

void ExtrasMenu::load()
{
    for (const OutputFormat& format : OutputFormat::all())
        entry(format)->setChecked(Settings::readExtra(text(format.SettingsKey)));
}

void ExtrasMenu::save() const
{
    for (const OutputFormat& format : OutputFormat::all())
        Settings::writeExtra(text(format.SettingsKey), entry(format)->isChecked());
}
