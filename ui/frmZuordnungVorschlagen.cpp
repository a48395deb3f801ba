#include "frmZuordnungVorschlagen.h"

#include "AbsoluteUrl.h"
#include "CandidateDelegate.h"
#include "CsvWriter.h"
#include "Dialogs.h"
#include "EngineError.h"
#include "FileSystem.h"
#include "Relocation.h"
#include "RelocationWindow.h"
#include "Settings.h"
#include "SuggestionCsv.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QSortFilterProxyModel>
#include <QStandardItemModel>
#include <QTableView>
#include <QVBoxLayout>

namespace {

const QString ApplicationTitle = QStringLiteral("Kelvane");

enum Column
{
    AlteDatei,
    NeueUrl,
    Urteil,
    Wert
};

QString text(std::string_view utf8)
{
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

// The run as a planner: it lists the pages it would write, and its refusals
// become the dialog's messages.
class PlanWindow final : public RelocationWindow
{
public:
    PlanWindow(Dialogs& dialogs, QWidget& owner) : m_dialogs(dialogs), m_owner(owner) {}

    std::vector<MappingSuggester::OldPage> Pages;

    void SetStatus(const std::string&) override {}
    void EnableInputs(bool) override {}
    void showMessage(const std::string& message, Icon icon) override
    {
        m_dialogs.message(
            &m_owner, ApplicationTitle,
            QString::fromStdString(message).replace(QStringLiteral("\r\n"), QStringLiteral("\n")),
            icon == Icon::Critical ? QMessageBox::Critical : QMessageBox::Information,
            QMessageBox::Ok);
    }
    bool askYesNo(const std::string&) override { return true; }
    void focusVerzeichnis() override {}
    void processEvents() override {}
    void pageDone(const Page& page) override
    {
        Pages.push_back({page.RelativePath, page.SourcePath});
    }

private:
    Dialogs& m_dialogs;
    QWidget& m_owner;
};

QList<QStandardItem*> rowOf(const MappingSuggester::Suggestion& suggestion)
{
    QStringList candidates;
    for (const MappingSuggester::Candidate& candidate : suggestion.Candidates)
        candidates.append(QString::fromStdString(candidate.Url));
    auto* oldPage = new QStandardItem(QString::fromStdString(suggestion.OldPath));
    auto* address = new QStandardItem(QString::fromStdString(suggestion.url()));
    address->setData(candidates, CandidateDelegate::CandidatesRole);
    address->setEditable(true);
    auto* verdict = new QStandardItem(text(verdictName(suggestion.Result)));
    auto* score =
        new QStandardItem(QString::fromStdString(SuggestionCsv::score(suggestion.score())));
    for (QStandardItem* item : {oldPage, verdict, score})
        item->setEditable(false);
    return {oldPage, address, verdict, score};
}

} // namespace

frmZuordnungVorschlagen::frmZuordnungVorschlagen(const SharedState& state, FileSystem& fileSystem,
                                                 Dialogs& dialogs, RelocationInputs inputs,
                                                 QWidget* parent, WebFetcher::Limits limits)
    : QDialog(parent), m_state(state), m_fileSystem(fileSystem), m_dialogs(dialogs),
      m_inputs(std::move(inputs)), m_limits(limits)
{
    setObjectName(QStringLiteral("frmZuordnungVorschlagen"));
    setWindowTitle(QStringLiteral("Zuordnung vorschlagen"));
    createControls();
    connect(cmdStart, &QPushButton::clicked, this, &frmZuordnungVorschlagen::cmdStart_Click);
    connect(cmdOrdner, &QPushButton::clicked, this, &frmZuordnungVorschlagen::cmdOrdner_Click);
    connect(cmdUebernehmen, &QPushButton::clicked, this,
            &frmZuordnungVorschlagen::cmdUebernehmen_Click);
    connect(cboUrteil, &QComboBox::currentIndexChanged, this,
            &frmZuordnungVorschlagen::cboUrteil_Click);
}

frmZuordnungVorschlagen::~frmZuordnungVorschlagen()
{
    cancelSuggesting();
}

void frmZuordnungVorschlagen::createControls()
{
    auto* layout = new QVBoxLayout(this);
    auto* siteRow = new QHBoxLayout;
    auto* lblNeueSite = new QLabel(QStringLiteral("&Neue Site:"), this);
    txtNeueSite = new QLineEdit(this);
    txtNeueSite->setObjectName(QStringLiteral("txtNeueSite"));
    txtNeueSite->setPlaceholderText(QStringLiteral("Ordner oder https://www.example.com/"));
    lblNeueSite->setBuddy(txtNeueSite);
    cmdOrdner = new QPushButton(QStringLiteral("&Ordner…"), this);
    cmdOrdner->setObjectName(QStringLiteral("cmdOrdner"));
    cmdStart = new QPushButton(QStringLiteral("Start"), this);
    cmdStart->setObjectName(QStringLiteral("cmdStart"));
    cmdStart->setDefault(true);
    siteRow->addWidget(lblNeueSite);
    siteRow->addWidget(txtNeueSite, 1);
    siteRow->addWidget(cmdOrdner);
    siteRow->addWidget(cmdStart);
    layout->addLayout(siteRow);

    auto* progressRow = new QHBoxLayout;
    lblSchritt = new QLabel(this);
    lblSchritt->setObjectName(QStringLiteral("lblSchritt"));
    prgFortschritt = new QProgressBar(this);
    prgFortschritt->setObjectName(QStringLiteral("prgFortschritt"));
    prgFortschritt->setFormat(QStringLiteral("%v von %m"));
    prgFortschritt->setValue(0);
    progressRow->addWidget(lblSchritt);
    progressRow->addWidget(prgFortschritt, 1);
    layout->addLayout(progressRow);

    auto* filterRow = new QHBoxLayout;
    cboUrteil = new QComboBox(this);
    cboUrteil->setObjectName(QStringLiteral("cboUrteil"));
    cboUrteil->addItem(QStringLiteral("alle Urteile"));
    for (const Verdict verdict : AllVerdicts)
        cboUrteil->addItem(text(verdictName(verdict)));
    auto* lblUrteil = new QLabel(QStringLiteral("&Urteil:"), this);
    lblUrteil->setBuddy(cboUrteil);
    filterRow->addWidget(lblUrteil);
    filterRow->addWidget(cboUrteil);
    filterRow->addStretch(1);
    layout->addLayout(filterRow);

    m_model = new QStandardItemModel(0, 4, this);
    m_model->setHorizontalHeaderLabels({QStringLiteral("Alte Datei"), QStringLiteral("Neue URL"),
                                        QStringLiteral("Urteil"), QStringLiteral("Wert")});
    m_filter = new QSortFilterProxyModel(this);
    m_filter->setSourceModel(m_model);
    m_filter->setFilterKeyColumn(Urteil);
    tblVorschlag = new QTableView(this);
    tblVorschlag->setObjectName(QStringLiteral("tblVorschlag"));
    tblVorschlag->setModel(m_filter);
    tblVorschlag->setItemDelegateForColumn(NeueUrl, new CandidateDelegate(tblVorschlag));
    tblVorschlag->setSortingEnabled(true);
    tblVorschlag->sortByColumn(-1, Qt::AscendingOrder);
    tblVorschlag->setEditTriggers(QAbstractItemView::DoubleClicked |
                                  QAbstractItemView::EditKeyPressed |
                                  QAbstractItemView::SelectedClicked);
    tblVorschlag->setSelectionBehavior(QAbstractItemView::SelectRows);
    tblVorschlag->horizontalHeader()->setSectionResizeMode(NeueUrl, QHeaderView::Stretch);
    tblVorschlag->verticalHeader()->hide();
    layout->addWidget(tblVorschlag, 1);

    auto* bottomRow = new QHBoxLayout;
    bottomRow->addStretch(1);
    cmdUebernehmen = new QPushButton(QStringLiteral("Übernehmen"), this);
    cmdUebernehmen->setObjectName(QStringLiteral("cmdUebernehmen"));
    cmdUebernehmen->setEnabled(false);
    bottomRow->addWidget(cmdUebernehmen);
    layout->addLayout(bottomRow);
    resize(950, 550);
}

void frmZuordnungVorschlagen::cmdStart_Click()
{
    if (isWorking())
        cancelSuggesting();
    else
        startSuggesting();
}

void frmZuordnungVorschlagen::cmdOrdner_Click()
{
    const QString folder =
        m_dialogs.chooseFolder(this, QStringLiteral("Ordner der neuen Site wählen"));
    if (!folder.isEmpty())
        txtNeueSite->setText(folder);
}

std::vector<MappingSuggester::OldPage> frmZuordnungVorschlagen::planPages()
{
    PlanWindow window(m_dialogs, *this);
    RelocationInputs inputs = m_inputs;
    // The mapping about to be suggested must not depend on the current one.
    inputs.Zuordnungsdatei.clear();
    Relocation relocation(window, m_fileSystem, m_state, inputs);
    relocation.setDryRun(true);
    if (relocation.run() != Relocation::Outcome::Done)
        return {};
    return std::move(window.Pages);
}

void frmZuordnungVorschlagen::startSuggesting()
{
    const QString site = txtNeueSite->text().trimmed();
    if (site.isEmpty()) {
        message(QStringLiteral("Bitte den Ordner oder die Adresse der neuen Site angeben."),
                QMessageBox::Information);
        txtNeueSite->setFocus(Qt::OtherFocusReason);
        return;
    }
    MappingSuggester::Request request;
    request.OldPages = planPages();
    if (request.OldPages.empty())
        return;
    request.NewSite = site.toStdString();
    request.NewUrl = m_inputs.URLneu;
    request.Types = m_inputs.Dateitypen;

    m_model->removeRows(0, m_model->rowCount());
    prgFortschritt->setRange(0, 0);
    setWorking(true);
    m_worker.start([this, request = std::move(request), limits = m_limits,
                    &fileSystem = m_fileSystem](const std::atomic<bool>& cancelled) {
        MappingSuggester::Result result =
            MappingSuggester(fileSystem, limits)
                .run(
                    request,
                    [this](const SuggestProgress& progress) {
                        m_worker.post([this, progress] { showProgress(progress); });
                    },
                    &cancelled);
        if (!cancelled)
            m_worker.post([this, result = std::move(result)]() mutable {
                suggestionsFinished(std::move(result));
            });
    });
}

void frmZuordnungVorschlagen::setWorking(bool working)
{
    txtNeueSite->setEnabled(!working);
    cmdOrdner->setEnabled(!working);
    cmdUebernehmen->setEnabled(!working && m_model->rowCount() > 0);
    cmdStart->setText(working ? QStringLiteral("Abbrechen") : QStringLiteral("Start"));
}

void frmZuordnungVorschlagen::cancelSuggesting()
{
    if (!m_worker.cancel())
        return;
    setWorking(false);
    prgFortschritt->setRange(0, 1);
    prgFortschritt->setValue(0);
    lblSchritt->setText(QStringLiteral("Abgebrochen."));
}

void frmZuordnungVorschlagen::showProgress(const SuggestProgress& progress)
{
    if (!isWorking())
        return;
    lblSchritt->setText(QString::fromStdString(progress.Step));
    prgFortschritt->setRange(0, static_cast<int>(progress.Total));
    prgFortschritt->setValue(static_cast<int>(progress.Done));
}

void frmZuordnungVorschlagen::suggestionsFinished(MappingSuggester::Result result)
{
    m_worker.finished();
    for (const MappingSuggester::Suggestion& suggestion : result.Suggestions)
        m_model->appendRow(rowOf(suggestion));
    tblVorschlag->resizeColumnToContents(AlteDatei);
    setWorking(false);
    prgFortschritt->setRange(0, 1);
    prgFortschritt->setValue(result.Error.empty() ? 1 : 0);
    lblSchritt->setText(result.Error.empty()
                            ? QStringLiteral("%1 Seiten").arg(result.Suggestions.size())
                            : QString());
    if (!result.Error.empty())
        message(QString::fromStdString(result.Error), QMessageBox::Critical);
    else if (!result.Warnings.empty())
        message(QString::fromStdString(result.Warnings.front()), QMessageBox::Warning);
}

void frmZuordnungVorschlagen::cboUrteil_Click(int index)
{
    if (index <= 0) {
        m_filter->setFilterRegularExpression(QString());
        return;
    }
    m_filter->setFilterRegularExpression(QRegularExpression(
        QStringLiteral("^") + QRegularExpression::escape(cboUrteil->itemText(index)) +
        QStringLiteral("$")));
}

// The table as a mapping file, with the addresses as the user left them;
// problem names the first row whose address cannot be a page's.
std::string frmZuordnungVorschlagen::mappingText(QString& problem) const
{
    CsvWriter csv;
    csv.addRecord({"alte Datei", "neue URL", "Urteil", "Wert", "zweite URL"});
    for (int row = 0; row < m_model->rowCount(); ++row) {
        const std::string oldPath = m_model->item(row, AlteDatei)->text().toStdString();
        const std::string url = m_model->item(row, NeueUrl)->text().trimmed().toStdString();
        if (const std::string reason = url.empty() ? std::string() : AbsoluteUrl::problem(url);
            !reason.empty() && problem.isEmpty())
            problem = QString::fromStdString(oldPath + ": " + reason + ": " + url);
        std::string runnerUp;
        for (const QString& candidate :
             m_model->item(row, NeueUrl)->data(CandidateDelegate::CandidatesRole).toStringList()) {
            if (candidate.toStdString() != url) {
                runnerUp = candidate.toStdString();
                break;
            }
        }
        csv.addRecord({oldPath, url, m_model->item(row, Urteil)->text().toStdString(),
                       m_model->item(row, Wert)->text().toStdString(), runnerUp});
    }
    return csv.text();
}

void frmZuordnungVorschlagen::cmdUebernehmen_Click()
{
    QString problem;
    const std::string mapping = mappingText(problem);
    if (!problem.isEmpty()) {
        message(QStringLiteral("Diese Adresse geht nicht: ") + problem, QMessageBox::Critical);
        return;
    }
    const QString file = m_dialogs.chooseFile(this, QStringLiteral("Zuordnungsdatei speichern"),
                                              QStringLiteral("CSV-Dateien (*.csv)"), true);
    if (file.isEmpty())
        return;
    try {
        m_fileSystem.WriteFile(file.toStdString(), mapping);
    } catch (const EngineError& error) {
        message(QString::fromStdString(error.what()), QMessageBox::Critical);
        return;
    }
    Settings::write(Settings::Key::Zuordnungsdatei, file);
    accept();
}

void frmZuordnungVorschlagen::closeEvent(QCloseEvent* event)
{
    cancelSuggesting();
    QDialog::closeEvent(event);
}

void frmZuordnungVorschlagen::reject()
{
    cancelSuggesting();
    QDialog::reject();
}

void frmZuordnungVorschlagen::message(const QString& messageText, int icon)
{
    m_dialogs.message(this, ApplicationTitle, messageText, static_cast<QMessageBox::Icon>(icon),
                      QMessageBox::Ok);
}
