#pragma once

#include "CheckPlan.h"
#include "CheckResult.h"
#include "DialogWorker.h"
#include "HttpCheck.h"
#include "RelocationInputs.h"

#include <QDialog>
#include <optional>
#include <vector>

class Dialogs;
class FileSystem;
class QComboBox;
class QHBoxLayout;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QSortFilterProxyModel;
class QStandardItemModel;
class QTableView;
struct SharedState;

// Checks a move over HTTP: asks the old site for every page the run would
// write and shows where each one ends, one table row per page. The requests
// run on a worker thread, so the window stays responsive; closing the dialog
// cancels them.
class frmUmzugPruefen : public QDialog
{
    Q_OBJECT

public:
    // inputs: the main window's inputs when the dialog was opened; they
    // choose the pages and their new URLs as for a run.
    frmUmzugPruefen(const SharedState& state, FileSystem& fileSystem, Dialogs& dialogs,
                    RelocationInputs inputs, QWidget* parent = nullptr,
                    HttpCheck::Limits limits = {});
    ~frmUmzugPruefen() override;

    bool isChecking() const { return m_worker.isRunning(); }

    // Start, or Abbrechen while a check runs.
    void cmdStart_Click();
    void cmdBericht_Click();
    void cboKlasse_Click(int index);
    // Shows only the addresses with the chosen note.
    void cboHinweis_Click(int index);

protected:
    void closeEvent(QCloseEvent* event) override;
    void reject() override;

private:
    // The columns after the status: hops and notes.
    static constexpr int HopsColumn = 4;
    static constexpr int NotesColumn = 5;

    void createControls();
    void createNoteFilter(QHBoxLayout& row);
    std::optional<CheckPlan> planPages(const QString& oldAddress);
    void startCheck();
    void cancelCheck();
    void showResult(std::size_t index, const CheckResult& result);
    void fillRow(int row, const CheckResult& result);
    void fillAuditColumns(int row, const CheckResult& result);
    void showFinalResults();
    void checkFinished(std::vector<CheckResult> results);
    void message(const QString& text, int icon);
    void showProgressCount(bool shown);

    const SharedState& m_state;
    FileSystem& m_fileSystem;
    Dialogs& m_dialogs;
    const RelocationInputs m_inputs;
    const HttpCheck::Limits m_limits;
    // The old address of the running or last check.
    std::string m_oldAddress;
    std::vector<CheckResult> m_results;
    DialogWorker m_worker{*this};

    QLineEdit* txtAlteAdresse = nullptr;
    QPushButton* cmdStart = nullptr;
    QProgressBar* prgFortschritt = nullptr;
    QComboBox* cboKlasse = nullptr;
    QComboBox* cboHinweis = nullptr;
    QTableView* tblErgebnis = nullptr;
    QLabel* lblZusammenfassung = nullptr;
    QPushButton* cmdBericht = nullptr;
    QStandardItemModel* m_model = nullptr;
    QSortFilterProxyModel* m_filter = nullptr;
    QSortFilterProxyModel* m_noteFilter = nullptr;
};
