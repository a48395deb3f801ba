#pragma once

#include "ShellContext.h"
#include "TemplateText.h"
#include "WindowPosition.h"

#include <QMainWindow>
#include <optional>
#include <string>

class FileSystem;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class WindowShell;
struct SharedState;

// The template editor. With the standard template chosen it shows that
// template read-only; otherwise it edits the user template, which it can
// empty, reset to the standard text and save. The mode is fixed when the
// window is created. Shown modally; closing it any way but "Speichern"
// discards the edits.
class frmHTML : public QMainWindow
{
    Q_OBJECT

public:
    frmHTML(const SharedState& state, FileSystem& fileSystem, ShellContext context,
            QWidget* parent = nullptr);
    ~frmHTML() override;

    WindowShell& shell() const { return *m_shell; }
    bool isReadOnlyView() const { return m_readOnlyView; }

    void mnuFileNew_Click();
    void cmdDefault_Click();
    void cmdSpeichern_Click();
    void cmdAbbrechen_Click();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    // Layout: the controls at their places in twips.
    void createControls();
    void setTabOrder();
    void setFixedClientSize();
    void connectControls();

    void Form_Load();
    void Form_Unload();
    void LoadTemplate();
    void showReadOnlyView();

    // The file's text, or nothing after telling the user why it could not
    // be read.
    std::optional<TemplateText> readTemplate(const std::string& path);
    bool writeUserTemplate();
    QString editorText() const;
    void setEditorText(const QString& text);

    const SharedState& m_state;
    FileSystem& m_fileSystem;
    ShellContext m_context;
    WindowShell* m_shell = nullptr;
    bool m_readOnlyView = false;
    // What was read last, so that saving keeps that file's encoding and
    // line ends.
    TemplateText m_template;
    // The position as read from the store and where it put the window, so
    // that a window that was not moved stores the same position again.
    WindowPosition m_position{Settings::Key::HTMLLeft, Settings::Key::HTMLTop};

    QPlainTextEdit* txtCode = nullptr;
    QPushButton* cmdDefault = nullptr;
    QPushButton* cmdSpeichern = nullptr;
    QPushButton* cmdAbbrechen = nullptr;
    QLabel* lblAnmerkung = nullptr;
    QPlainTextEdit* txtDateiname = nullptr;
};
