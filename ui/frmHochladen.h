#pragma once

#include "DialogWorker.h"
#include "SiteUpload.h"

#include <QDialog>
#include <chrono>

class Dialogs;
class FileSystem;
class PasswordStore;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QSpinBox;

// Extras › Hochladen…: sends the output folder to the old host and offers
// the move check afterwards. The upload runs on a worker thread that touches
// no widget; closing the dialog cancels it. Every field but the password is
// kept in the settings section "Extras"; the password only in the secret
// store, and only with "Kennwort merken".
class frmHochladen : public QDialog
{
    Q_OBJECT

public:
    frmHochladen(FileSystem& fileSystem, Dialogs& dialogs, PasswordStore& passwords,
                 std::string outputRoot, QWidget* parent = nullptr);
    ~frmHochladen() override;

    bool isUploading() const { return m_worker.isRunning(); }
    // Whether the user asked for the move check when leaving.
    bool checkRequested() const { return m_checkRequested; }

    void cmdVorschau_Click();
    // Start, or Abbrechen while an upload runs.
    void cmdStart_Click();
    void cmdPruefen_Click();

protected:
    void closeEvent(QCloseEvent* event) override;
    void reject() override;

private:
    void createControls();
    void loadSettings();
    void saveSettings();
    void protocolChosen(int index);
    QString account() const;
    bool targetFromFields(UploadTarget& target);
    void begin(bool preview, std::string acceptedFingerprint = {});
    void cancelUpload();
    void showProgress(const SiteUpload::Progress& progress);
    void finished(const SiteUpload::Result& result, bool preview);
    bool acceptFingerprint(const SiteUpload::Result& result, bool preview);
    void setWorking(bool working);

    FileSystem& m_fileSystem;
    Dialogs& m_dialogs;
    PasswordStore& m_passwords;
    const std::string m_outputRoot;
    DialogWorker m_worker{*this};
    std::chrono::steady_clock::time_point m_started;
    bool m_checkRequested = false;

    QComboBox* cboProtokoll = nullptr;
    QLineEdit* txtRechner = nullptr;
    QSpinBox* txtPort = nullptr;
    QLineEdit* txtBenutzer = nullptr;
    QLineEdit* txtKennwort = nullptr;
    QCheckBox* chkKennwortMerken = nullptr;
    QLineEdit* txtSchluessel = nullptr;
    QLineEdit* txtOrdner = nullptr;
    QLineEdit* txtAlteAdresse = nullptr;
    QPushButton* cmdVorschau = nullptr;
    QPushButton* cmdStart = nullptr;
    QPushButton* cmdPruefen = nullptr;
    QProgressBar* prgFortschritt = nullptr;
    QLabel* lblFortschritt = nullptr;
    QPlainTextEdit* txtErgebnis = nullptr;
};
