#pragma once

#include <QList>
#include <QObject>

class OutputFiles;
class QAction;
class QMainWindow;
class QMenu;
struct OutputFormat;

// The main window's "Extras" menu: one checkable entry for each extra file a
// run can write (server rules, the report), kept in the settings.
class ExtrasMenu : public QObject
{
    Q_OBJECT

public:
    // Placed before the window's help menu.
    explicit ExtrasMenu(QMainWindow& window);

    // The entry of a format, e.g. "mnuExtrasApache".
    QAction* entry(const OutputFormat& format) const;
    // The menu itself, for entries of the main window's own.
    QMenu* menu() const { return m_menu; }
    // Adds every checked format to the run's extra files.
    void choose(OutputFiles& files) const;

    void load();
    void save() const;

private:
    QMenu* m_menu;
    QList<QAction*> m_entries; // in the order of the format table
};
