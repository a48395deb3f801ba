// Builds the menu bar, toolbar and status bar of a window shell.

#include "EnterKeyClick.h"
#include "FieldContextMenu.h"
#include "SelectionKeeper.h"
#include "ShellImages.h"
#include "ShortcutRouter.h"
#include "StatusPanel.h"
#include "Twips.h"
#include "WindowShell.h"

#include <QAction>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolBar>

namespace {

constexpr double ToolBarHeight = 420;
constexpr double StatusBarHeight = 270;

} // namespace

WindowShell::WindowShell(QMainWindow& window, ShellContext context, CloseEntry closeEntry,
                         std::function<void()> newCommand)
    : QObject(&window), m_window(window), m_context(context), m_newCommand(std::move(newCommand))
{
    m_window.setWindowIcon(ShellImages::programIcon());
    createMenus(closeEntry);
    createToolBar();
    createStatusBar();
    new ShortcutRouter(m_window, m_actions);
    new FieldContextMenu(m_window);
    new EnterKeyClick(m_window);
    m_selectionKeeper = new SelectionKeeper(m_window);
}

void WindowShell::createMenus(CloseEntry closeEntry)
{
    // The bars are ours alone; the window's built-in menu for hiding them
    // would bypass the View marks.
    m_window.menuBar()->setContextMenuPolicy(Qt::PreventContextMenu);

    QMenu* file = addMenu("mnuFile", QStringLiteral("&Datei"));
    addEntry(*file, "mnuFileNew", QStringLiteral("&Neu"), QKeySequence(Qt::CTRL | Qt::Key_N),
             &WindowShell::mnuFileNew_Click);
    addSeparator(*file, "mnuFileBar0");
    addEntry(*file, "mnuFileExit",
             closeEntry == CloseEntry::Beenden ? QStringLiteral("&Beenden")
                                               : QStringLiteral("&Schließen"),
             QKeySequence(), &WindowShell::mnuFileExit_Click);

    QMenu* edit = addMenu("mnuEdit", QStringLiteral("&Bearbeiten"));
    QAction* undo = addEntry(*edit, "mnuEditUndo", QStringLiteral("&Rückgängig"),
                             QKeySequence(Qt::CTRL | Qt::Key_Z), nullptr);
    undo->setEnabled(false);
    addSeparator(*edit, "mnuEditBar0");
    addEntry(*edit, "mnuEditCut", QStringLiteral("&Ausschneiden"),
             QKeySequence(Qt::CTRL | Qt::Key_X), &WindowShell::mnuEditCut_Click);
    addEntry(*edit, "mnuEditCopy", QStringLiteral("&Kopieren"), QKeySequence(Qt::CTRL | Qt::Key_C),
             &WindowShell::mnuEditCopy_Click);
    addEntry(*edit, "mnuEditPaste", QStringLiteral("&Einfügen"), QKeySequence(Qt::CTRL | Qt::Key_V),
             &WindowShell::mnuEditPaste_Click);

    QMenu* view = addMenu("mnuView", QStringLiteral("&Ansicht"));
    m_viewToolbar =
        addEntry(*view, "mnuViewToolbar", QStringLiteral("&Symbolleiste"), QKeySequence(), nullptr);
    m_viewStatusBar = addEntry(*view, "mnuViewStatusBar", QStringLiteral("Status&leiste"),
                               QKeySequence(), nullptr);
    for (QAction* mark : {m_viewToolbar, m_viewStatusBar}) {
        mark->setCheckable(true);
        mark->setChecked(true);
    }
    // Qt has already flipped a mark when its entry fires; the handlers flip
    // it themselves, as they do when called directly, so undo Qt's flip.
    connect(m_viewToolbar, &QAction::triggered, this, [this](bool checked) {
        m_viewToolbar->setChecked(!checked);
        mnuViewToolbar_Click();
    });
    connect(m_viewStatusBar, &QAction::triggered, this, [this](bool checked) {
        m_viewStatusBar->setChecked(!checked);
        mnuViewStatusBar_Click();
    });

    QMenu* help = addMenu("mnuHelp", QStringLiteral("&Hilfe"));
    addEntry(*help, "mnuHelpContents", QStringLiteral("&Inhalt"), QKeySequence(),
             &WindowShell::mnuHelpContents_Click);
    addEntry(*help, "mnuHelpSearchForHelpOn", QStringLiteral("&Suchen in der Hilfe..."),
             QKeySequence(), &WindowShell::mnuHelpSearchForHelpOn_Click);
    addSeparator(*help, "mnuHelpBar0");
    addEntry(*help, "mnuHelpAbout", QStringLiteral("In&fo"), QKeySequence(),
             &WindowShell::mnuHelpAbout_Click);
}

QMenu* WindowShell::addMenu(const char* name, const QString& caption)
{
    QMenu* menu = m_window.menuBar()->addMenu(caption);
    menu->setObjectName(QString::fromLatin1(name));
    menu->menuAction()->setObjectName(QString::fromLatin1(name));
    m_actions.append(menu->menuAction());
    return menu;
}

QAction* WindowShell::addEntry(QMenu& menu, const char* name, const QString& caption,
                               const QKeySequence& shortcut, void (WindowShell::*handler)())
{
    QAction* entry = menu.addAction(caption);
    entry->setObjectName(QString::fromLatin1(name));
    entry->setShortcut(shortcut);
    if (handler)
        connect(entry, &QAction::triggered, this, handler);
    m_actions.append(entry);
    return entry;
}

void WindowShell::addSeparator(QMenu& menu, const char* name)
{
    QAction* separator = menu.addSeparator();
    separator->setObjectName(QString::fromLatin1(name));
    m_actions.append(separator);
}

void WindowShell::createToolBar()
{
    m_toolBar = new QToolBar(&m_window);
    m_toolBar->setObjectName(QStringLiteral("tbToolBar"));
    m_toolBar->setMovable(false);
    m_toolBar->setFloatable(false);
    m_toolBar->setContextMenuPolicy(Qt::PreventContextMenu);
    m_toolBar->setToolButtonStyle(Qt::ToolButtonIconOnly);
    m_toolBar->setIconSize(QSize(16, 16));
    m_toolBar->setFixedHeight(twipsToPixels(ToolBarHeight));
    m_window.addToolBar(Qt::TopToolBarArea, m_toolBar);

    m_toolBar->addSeparator();
    addToolButton(QStringLiteral("New"), QStringLiteral("Neu"));
    m_toolBar->addSeparator();
    addToolButton(QStringLiteral("Cut"), QStringLiteral("Ausschneiden"));
    addToolButton(QStringLiteral("Copy"), QStringLiteral("Kopieren"));
    addToolButton(QStringLiteral("Paste"), QStringLiteral("Einfügen"));
}

void WindowShell::addToolButton(const QString& key, const QString& toolTip)
{
    QAction* button = m_toolBar->addAction(ShellImages::toolbarIcon(key), QString());
    button->setObjectName(QStringLiteral("tbToolBar") + key);
    button->setData(key);
    button->setToolTip(toolTip);
    connect(button, &QAction::triggered, this, [this, key] { tbToolBar_ButtonClick(key); });
    m_actions.append(button);
}

void WindowShell::createStatusBar()
{
    m_statusBar = new QStatusBar(&m_window);
    m_statusBar->setObjectName(QStringLiteral("sbStatusBar"));
    m_statusBar->setSizeGripEnabled(false);
    m_statusBar->setFixedHeight(twipsToPixels(StatusBarHeight));
    m_statusPanel = new StatusPanel(QStringLiteral("Welcome!"), m_statusBar);
    m_statusPanel->setObjectName(QStringLiteral("sbStatusBarPanel1"));
    m_statusBar->addWidget(m_statusPanel, 1);
    m_window.setStatusBar(m_statusBar);
}
