#pragma once

#include <QList>
#include <QObject>
#include <QString>

class OutputFiles;
class QAction;
class QMainWindow;
class QMenu;
struct OutputFormat;

// The main window's "Extras" menu: one checkable entry for each extra file a
// run can write (server rules, the sitemaps, the report) and one that makes
// the server rules cover every file, kept in the settings.
class ExtrasMenu : public QObject
{
    Q_OBJECT

public:
    // Placed before the window's help menu.
    explicit ExtrasMenu(QMainWindow& window);

    // The entry of a format, e.g. "mnuExtrasApache"; formats of one
    // settings key share it.
    QAction* entry(const OutputFormat& format) const;
    // "mnuExtrasAlleDateien": server rules for every file of the site.
    QAction* allFilesEntry() const { return m_allFiles; }
    bool allFilesChosen() const;
    // The menu itself, for entries of the main window's own.
    QMenu* menu() const { return m_menu; }
    // Adds every checked format to the run's extra files.
    void choose(OutputFiles& files) const;
    // Why the chosen files cannot be written with this old site's address,
    // before a run starts; empty when they can.
    QString refusal(const QString& oldAddress) const;

    void load();
    void save() const;

private:
    QAction* addEntry(const QString& caption, const QString& settingsKey);

    QMenu* m_menu;
    QList<QAction*> m_entries; // one per settings key, in the order of the format table
    QAction* m_allFiles = nullptr;
};
