#pragma once

#include "ShellContext.h"

#include <QList>
#include <QObject>
#include <QString>
#include <functional>

class QAction;
class QKeySequence;
class QMainWindow;
class QMenu;
class QWidget;
class QStatusBar;
class QToolBar;
class SelectionKeeper;
class StatusPanel;
class TextSelection;

// The menu bar, toolbar and status bar that every window of the program
// carries, with the commands behind them. Each window creates its own shell;
// the commands act on that window only.
class WindowShell : public QObject
{
    Q_OBJECT

public:
    enum class CloseEntry
    {
        Beenden,
        Schliessen
    };

    // newCommand is the window's own File > New.
    WindowShell(QMainWindow& window, ShellContext context, CloseEntry closeEntry,
                std::function<void()> newCommand);

    // details: the tooltip of a text that sums something up.
    void setStatusText(const QString& text, const QString& details = {});
    QString statusText() const;
    QStatusBar* statusBar() const;
    QToolBar* toolBar() const;
    // Makes the client area the window's central widget; its controls stay
    // where they are when the toolbar or the status bar is hidden.
    void setClientArea(QWidget& clientArea);
    // Finds a menu entry by its name, e.g. "mnuEditCopy".
    QAction* action(const QString& name) const;

    void tbToolBar_ButtonClick(const QString& key);
    void mnuFileExit_Click();
    void mnuEditCut_Click();
    void mnuEditCopy_Click();
    void mnuEditPaste_Click();
    void mnuViewToolbar_Click();
    void mnuViewStatusBar_Click();
    void mnuHelpContents_Click();
    void mnuHelpSearchForHelpOn_Click();
    void mnuHelpAbout_Click();

private:
    void createMenus(CloseEntry closeEntry);
    void createToolBar();
    void createStatusBar();
    QMenu* addMenu(const char* name, const QString& caption);
    QAction* addEntry(QMenu& menu, const char* name, const QString& caption,
                      const QKeySequence& shortcut, void (WindowShell::*handler)());
    void addSeparator(QMenu& menu, const char* name);
    void addToolButton(const QString& key, const QString& toolTip);
    void mnuFileNew_Click();
    void toggleBar(QAction& mark, QWidget& bar);
    bool copyToClipboard(const TextSelection& selection);
    void showNoHelp();

    QMainWindow& m_window;
    ShellContext m_context;
    std::function<void()> m_newCommand;
    QList<QAction*> m_actions;
    QAction* m_viewToolbar = nullptr;
    QAction* m_viewStatusBar = nullptr;
    QToolBar* m_toolBar = nullptr;
    QStatusBar* m_statusBar = nullptr;
    StatusPanel* m_statusPanel = nullptr;
    SelectionKeeper* m_selectionKeeper = nullptr;
};
