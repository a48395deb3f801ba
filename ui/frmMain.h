#pragma once

#include "OutputFiles.h"
#include "RelocationInputs.h"
#include "ShellContext.h"
#include "WindowPosition.h"

#include <QMainWindow>
#include <QPointer>
#include <memory>
#include <string>

class ExtrasMenu;
class FileSystem;
class MappingFile;
class QButtonGroup;
class QCheckBox;
class DesignFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class RunProgress;
class WindowShell;
class frmHTML;
struct SharedState;

// The main window: the three inputs of a relocation, the template choice and
// the Start button. It remembers its position and its fields between starts
// and lends itself to the relocation run as the run's window.
class frmMain : public QMainWindow
{
    Q_OBJECT

public:
    frmMain(SharedState& state, FileSystem& fileSystem, ShellContext context,
            QWidget* parent = nullptr);
    ~frmMain() override;

    WindowShell& shell() const { return *m_shell; }
    ExtrasMenu& extras() const { return *m_extras; }
    // The editor window opened last, or null when none is left.
    frmHTML* editorForm() const;
    bool isRunning() const { return m_running; }

    void mnuFileNew_Click();
    void cmdVerzeichnis_Click();
    void optHTML_Click(int index);
    void cmdHTML_Click();
    void cmdStart_Click();
    void mnuExtrasZuordnung_Click();
    void mnuExtrasVorschlagen_Click();
    void mnuExtrasPruefen_Click();
    void mnuExtrasHochladen_Click();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    friend class MainWindowRelocation;

    // Layout: builds the controls at their places in twips.
    void createControls();
    DesignFrame* createDateiwahl(QWidget* parent);
    DesignFrame* createHTMLCode(QWidget* parent);
    void setTabOrder();
    void setFixedClientSize();
    void connectControls();
    void createExtrasMenu();
    void warnUnmapped(const std::vector<std::string>& paths);
    void warnCaseTwins(const std::vector<std::string>& warnings);
    void warnWithList(const QString& heading, const std::vector<std::string>& lines);
    bool mappingMayBeUsed();

    void Form_Load();
    void Form_Unload();

    // The inputs of a run, read once when Start is pressed.
    RelocationInputs relocationInputs() const;
    void focusVerzeichnis();
    void SetStatus(const QString& text);
    void EnableInputs(bool enabled);
    // Writes the extra files chosen in the Extras menu after a run and names
    // them in the status bar; failures and host limits become messages.
    void showExtras(const OutputFiles::Result& result, const std::string& outputRoot);
    void showProgress(int pagesWritten, int pagesFound);
    void hideProgress();

    SharedState& m_state;
    FileSystem& m_fileSystem;
    ShellContext m_context;
    std::unique_ptr<WindowShell> m_shell;
    ExtrasMenu* m_extras = nullptr;
    MappingFile* m_mapping = nullptr;
    QPointer<frmHTML> EditorForm;
    bool m_running = false;
    bool m_closeRequested = false;
    // The position as read from the store and where it put the window: twips
    // do not survive the round trip through whole pixels, so a window that
    // was not moved stores the position it was given.
    WindowPosition m_position{Settings::Key::MainLeft, Settings::Key::MainTop};

    DesignFrame* fraDateiwahl = nullptr;
    QLabel* lblVerzeichnis = nullptr;
    QLineEdit* txtVerzeichnis = nullptr;
    QPushButton* cmdVerzeichnis = nullptr;
    QLabel* lblDateiwahlBeschreibung = nullptr;
    QLabel* lblDateitypen = nullptr;
    QLineEdit* txtDateitypen = nullptr;
    DesignFrame* fraHTMLCode = nullptr;
    QLabel* lblHTMLCodeBeschreibung = nullptr;
    QLabel* lblHTMLCode = nullptr;
    QButtonGroup* optHTML = nullptr;
    QRadioButton* optHTMLStandard = nullptr;
    QRadioButton* optHTMLBenutzer = nullptr;
    QPushButton* cmdHTML = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* lblURLneu = nullptr;
    QLineEdit* txtURLneu = nullptr;
    QCheckBox* chkUnterverzeichnis = nullptr;
    QPushButton* cmdStart = nullptr;
    RunProgress* m_progress = nullptr;
};
