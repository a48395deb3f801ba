#pragma once

#include "DialogWorker.h"
#include "MappingSuggester.h"
#include "RelocationInputs.h"
#include "WebFetcher.h"

#include <QDialog>

class Dialogs;
class FileSystem;
class QComboBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QSortFilterProxyModel;
class QStandardItemModel;
class QTableView;
struct SharedState;

// Suggests the mapping file: matches every page the run would write with a
// page of the new site (a folder or an address), shows old page, suggested
// address, verdict and score for review, and "Übernehmen" writes the file
// and makes it the run's mapping file. The work runs on a worker thread, so
// the window stays responsive; closing the dialog cancels it.
class frmZuordnungVorschlagen : public QDialog
{
    Q_OBJECT

public:
    frmZuordnungVorschlagen(const SharedState& state, FileSystem& fileSystem, Dialogs& dialogs,
                            RelocationInputs inputs, QWidget* parent = nullptr,
                            WebFetcher::Limits limits = {});
    ~frmZuordnungVorschlagen() override;

    bool isWorking() const { return m_worker.isRunning(); }

    void cmdStart_Click();
    void cmdOrdner_Click();
    void cmdUebernehmen_Click();
    void cboUrteil_Click(int index);

protected:
    void closeEvent(QCloseEvent* event) override;
    void reject() override;

private:
    void createControls();
    std::vector<MappingSuggester::OldPage> planPages();
    void startSuggesting();
    void cancelSuggesting();
    void showProgress(const SuggestProgress& progress);
    void suggestionsFinished(MappingSuggester::Result result);
    void setWorking(bool working);
    std::string mappingText(QString& problem) const;
    void message(const QString& text, int icon);

    const SharedState& m_state;
    FileSystem& m_fileSystem;
    Dialogs& m_dialogs;
    const RelocationInputs m_inputs;
    const WebFetcher::Limits m_limits;
    DialogWorker m_worker{*this};

    QLineEdit* txtNeueSite = nullptr;
    QPushButton* cmdOrdner = nullptr;
    QPushButton* cmdStart = nullptr;
    QProgressBar* prgFortschritt = nullptr;
    QLabel* lblSchritt = nullptr;
    QComboBox* cboUrteil = nullptr;
    QTableView* tblVorschlag = nullptr;
    QPushButton* cmdUebernehmen = nullptr;
    QStandardItemModel* m_model = nullptr;
    QSortFilterProxyModel* m_filter = nullptr;
};
