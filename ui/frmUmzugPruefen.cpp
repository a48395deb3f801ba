#include "frmUmzugPruefen.h"

#include "BrowserUrl.h"
#include "CheckClassLook.h"
#include "CheckPlan.h"
#include "CheckReport.h"
#include "CheckTableLayout.h"
#include "Dialogs.h"
#include "EngineError.h"
#include "FileSystem.h"
#include "OwnerCentre.h"
#include "ReadableUrl.h"
#include "Relocation.h"
#include "RelocationWindow.h"
#include "Settings.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QFileInfo>
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

// The run as a planner: it lists the pages it would write, with their URLs,
// and its refusals become the dialog's messages.
class PlanWindow final : public RelocationWindow
{
public:
    PlanWindow(Dialogs& dialogs, QWidget& owner, const QString& oldAddress,
               const std::string& newUrl)
        : Plan(oldAddress.toStdString(), newUrl), m_dialogs(dialogs), m_owner(owner)
    {}

    CheckPlan Plan;

    void SetStatus(const std::string&) override {}
    void EnableInputs(bool) override {}
    void showMessage(const std::string& text, Icon icon) override
    {
        m_dialogs.message(
            &m_owner, ApplicationTitle,
            QString::fromStdString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")),
            icon == Icon::Critical ? QMessageBox::Critical : QMessageBox::Information,
            QMessageBox::Ok);
    }
    bool askYesNo(const std::string&) override { return true; }
    void focusVerzeichnis() override {}
    void processEvents() override {}
    void pageDone(const Page& page) override { Plan.addPage(page.RelativePath, page.Url); }

private:
    Dialogs& m_dialogs;
    QWidget& m_owner;
};

bool isWebAddress(const QString& text)
{
    return text.startsWith(QStringLiteral("http://")) ||
           text.startsWith(QStringLiteral("https://"));
}

// A check follows redirects from another host: the URL must be absolute.
RelocationInputs checkedInputs(RelocationInputs inputs)
{
    inputs.NeedsAbsoluteUrl = true;
    return inputs;
}

} // namespace

frmUmzugPruefen::frmUmzugPruefen(const SharedState& state, FileSystem& fileSystem, Dialogs& dialogs,
                                 RelocationInputs inputs, QWidget* parent, HttpCheck::Limits limits)
    : QDialog(parent), m_state(state), m_fileSystem(fileSystem), m_dialogs(dialogs),
      m_inputs(checkedInputs(std::move(inputs))), m_limits(limits)
{
    setObjectName(QStringLiteral("frmUmzugPruefen"));
    setWindowTitle(QStringLiteral("Umzug prüfen"));
    createControls();
    txtAlteAdresse->setText(Settings::read(Settings::Key::AlteAdresse));
    connect(cmdStart, &QPushButton::clicked, this, &frmUmzugPruefen::cmdStart_Click);
    connect(cmdBericht, &QPushButton::clicked, this, &frmUmzugPruefen::cmdBericht_Click);
    connect(cboKlasse, &QComboBox::currentIndexChanged, this, &frmUmzugPruefen::cboKlasse_Click);
}

frmUmzugPruefen::~frmUmzugPruefen()
{
    cancelCheck();
}

void frmUmzugPruefen::createControls()
{
    auto* layout = new QVBoxLayout(this);
    auto* addressRow = new QHBoxLayout;
    auto* lblAlteAdresse = new QLabel(QStringLiteral("Alte Adresse:"), this);
    txtAlteAdresse = new QLineEdit(this);
    txtAlteAdresse->setObjectName(QStringLiteral("txtAlteAdresse"));
    txtAlteAdresse->setPlaceholderText(QStringLiteral("http://www.example.com/alt"));
    lblAlteAdresse->setBuddy(txtAlteAdresse);
    cmdStart = new QPushButton(QStringLiteral("Start"), this);
    cmdStart->setObjectName(QStringLiteral("cmdStart"));
    cmdStart->setDefault(true);
    addressRow->addWidget(lblAlteAdresse);
    addressRow->addWidget(txtAlteAdresse, 1);
    addressRow->addWidget(cmdStart);
    layout->addLayout(addressRow);

    prgFortschritt = new QProgressBar(this);
    prgFortschritt->setObjectName(QStringLiteral("prgFortschritt"));
    prgFortschritt->setValue(0);
    showProgressCount(false);
    layout->addWidget(prgFortschritt);

    auto* filterRow = new QHBoxLayout;
    cboKlasse = new QComboBox(this);
    cboKlasse->setObjectName(QStringLiteral("cboKlasse"));
    cboKlasse->addItem(QStringLiteral("alle Klassen"));
    for (const CheckClass checkClass : AllCheckClasses) {
        cboKlasse->addItem(CheckClassLook::icon(checkClass), CheckClassLook::name(checkClass));
        cboKlasse->setItemData(cboKlasse->count() - 1, CheckClassLook::explanation(checkClass),
                               Qt::ToolTipRole);
    }
    auto* lblKlasse = new QLabel(QStringLiteral("&Klasse:"), this);
    lblKlasse->setBuddy(cboKlasse);
    filterRow->addWidget(lblKlasse);
    filterRow->addWidget(cboKlasse);
    createNoteFilter(*filterRow);
    filterRow->addStretch(1);
    layout->addLayout(filterRow);

    m_model = new QStandardItemModel(0, static_cast<int>(CheckReport::ColumnNames.size()), this);
    QStringList headers;
    for (const std::string_view name : CheckReport::ColumnNames)
        headers.append(QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size())));
    m_model->setHorizontalHeaderLabels(headers);
    m_filter = new QSortFilterProxyModel(this);
    m_filter->setSourceModel(m_model);
    m_filter->setFilterKeyColumn(0);
    m_noteFilter = new QSortFilterProxyModel(this);
    m_noteFilter->setSourceModel(m_filter);
    m_noteFilter->setFilterKeyColumn(NotesColumn);
    tblErgebnis = new QTableView(this);
    tblErgebnis->setObjectName(QStringLiteral("tblErgebnis"));
    tblErgebnis->setModel(m_noteFilter);
    tblErgebnis->setSortingEnabled(true);
    tblErgebnis->sortByColumn(-1, Qt::AscendingOrder);
    tblErgebnis->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tblErgebnis->setSelectionBehavior(QAbstractItemView::SelectRows);
    tblErgebnis->verticalHeader()->hide();
    CheckTableLayout::apply(*tblErgebnis);
    layout->addWidget(tblErgebnis, 1);

    auto* bottomRow = new QHBoxLayout;
    lblZusammenfassung = new QLabel(this);
    lblZusammenfassung->setObjectName(QStringLiteral("lblZusammenfassung"));
    lblZusammenfassung->setWordWrap(true);
    cmdBericht = new QPushButton(QStringLiteral("Bericht speichern…"), this);
    cmdBericht->setObjectName(QStringLiteral("cmdBericht"));
    cmdBericht->setEnabled(false);
    bottomRow->addWidget(lblZusammenfassung, 1);
    bottomRow->addWidget(cmdBericht);
    layout->addLayout(bottomRow);
    resize(900, 500);
    centreOverOwner(*this);
}

// Before the first start there is nothing to count; "0 von 100" would be a
// count of pages nobody asked for.
void frmUmzugPruefen::showProgressCount(bool shown)
{
    prgFortschritt->setFormat(shown ? QStringLiteral("%v von %m") : QString());
    prgFortschritt->setTextVisible(shown);
}

void frmUmzugPruefen::cmdStart_Click()
{
    if (isChecking())
        cancelCheck();
    else
        startCheck();
}

std::optional<CheckPlan> frmUmzugPruefen::planPages(const QString& oldAddress)
{
    PlanWindow window(m_dialogs, *this, oldAddress, m_inputs.URLneu);
    Relocation relocation(window, m_fileSystem, m_state, m_inputs);
    relocation.setDryRun(true);
    if (relocation.run() != Relocation::Outcome::Done || window.Plan.pages().empty())
        return std::nullopt;
    if (m_inputs.AllFiles)
        window.Plan.addOtherFiles(m_fileSystem, m_inputs);
    return std::move(window.Plan);
}

void frmUmzugPruefen::startCheck()
{
    const QString oldAddress = txtAlteAdresse->text().trimmed();
    if (!isWebAddress(oldAddress)) {
        message(QStringLiteral("Bitte die alte Adresse mit http:// oder https:// angeben."),
                QMessageBox::Information);
        txtAlteAdresse->setFocus(Qt::OtherFocusReason);
        return;
    }
    Settings::write(Settings::Key::AlteAdresse, oldAddress);
    std::optional<CheckPlan> plan = planPages(oldAddress);
    if (!plan)
        return;
    const std::vector<HttpCheck::Page>& pages = plan->pages();

    m_results.assign(pages.size(), CheckResult{});
    m_model->removeRows(0, m_model->rowCount());
    m_oldAddress = oldAddress.toStdString();
    for (const HttpCheck::Page& page : pages) {
        QList<QStandardItem*> row;
        for (int column = 0; column < m_model->columnCount(); ++column)
            row << new QStandardItem;
        row[CheckTableLayout::AlteUrl]->setText(ReadableUrl::below(page.OldUrl, m_oldAddress));
        row[CheckTableLayout::AlteUrl]->setToolTip(ReadableUrl::of(page.OldUrl));
        m_model->appendRow(row);
    }
    prgFortschritt->setRange(0, static_cast<int>(pages.size()));
    prgFortschritt->setValue(0);
    showProgressCount(true);
    lblZusammenfassung->clear();
    cmdBericht->setEnabled(false);
    txtAlteAdresse->setEnabled(false);
    cmdStart->setText(QStringLiteral("Abbrechen"));

    m_worker.start([this, checkPlan = std::move(*plan),
                    limits = m_limits](const std::atomic<bool>& cancelled) {
        HttpCheck check(limits);
        check.checkHomepage(checkPlan.homepage());
        std::vector<CheckResult> results = check.run(
            checkPlan.pages(),
            [this](std::size_t index, const CheckResult& result) {
                m_worker.post([this, index, result] { showResult(index, result); });
            },
            &cancelled);
        if (!cancelled)
            m_worker.post([this, results = std::move(results)]() mutable {
                checkFinished(std::move(results));
            });
    });
}

void frmUmzugPruefen::cancelCheck()
{
    if (!m_worker.cancel())
        return;
    txtAlteAdresse->setEnabled(true);
    cmdStart->setText(QStringLiteral("Start"));
    lblZusammenfassung->setText(QStringLiteral("Abgebrochen."));
}

void frmUmzugPruefen::showResult(std::size_t index, const CheckResult& result)
{
    if (index >= m_results.size() || !isChecking())
        return;
    m_results[index] = result;
    fillRow(static_cast<int>(index), result);
    prgFortschritt->setValue(prgFortschritt->value() + 1);
}

void frmUmzugPruefen::fillRow(int row, const CheckResult& result)
{
    QStandardItem& checkClass = *m_model->item(row, CheckTableLayout::Klasse);
    checkClass.setText(CheckClassLook::name(result.Class));
    checkClass.setIcon(CheckClassLook::icon(result.Class));
    checkClass.setToolTip(CheckClassLook::explanation(result.Class));
    QStandardItem& oldUrl = *m_model->item(row, CheckTableLayout::AlteUrl);
    oldUrl.setText(ReadableUrl::below(result.OldUrl, m_oldAddress));
    oldUrl.setToolTip(ReadableUrl::of(result.OldUrl));
    QStandardItem& target = *m_model->item(row, CheckTableLayout::ZielUrl);
    target.setText(ReadableUrl::of(result.FinalUrl));
    target.setToolTip(target.text());
    QStandardItem& status = *m_model->item(row, CheckTableLayout::Status);
    status.setText(QString::fromStdString(result.statusText()));
    status.setToolTip(status.text());
    fillAuditColumns(row, result);
}

// The homepage's variants come after the pages, and the robots.txt notes
// only once every page is done: the table takes the final results whole.
void frmUmzugPruefen::showFinalResults()
{
    const int rows = static_cast<int>(m_results.size());
    if (m_model->rowCount() > rows)
        m_model->removeRows(rows, m_model->rowCount() - rows);
    while (m_model->rowCount() < rows) {
        QList<QStandardItem*> row;
        for (int column = 0; column < m_model->columnCount(); ++column)
            row << new QStandardItem;
        m_model->appendRow(row);
    }
    for (int row = 0; row < rows; ++row)
        fillRow(row, m_results[static_cast<std::size_t>(row)]);
}

void frmUmzugPruefen::checkFinished(std::vector<CheckResult> results)
{
    m_worker.finished();
    m_results = std::move(results);
    showFinalResults();
    const CheckReport report(m_results);
    lblZusammenfassung->setText(QString::fromStdString(report.summary()));
    txtAlteAdresse->setEnabled(true);
    cmdStart->setText(QStringLiteral("Start"));
    cmdBericht->setEnabled(true);
}

void frmUmzugPruefen::cboKlasse_Click(int index)
{
    if (index <= 0) {
        m_filter->setFilterRegularExpression(QString());
        return;
    }
    m_filter->setFilterRegularExpression(QRegularExpression(
        QStringLiteral("^") + QRegularExpression::escape(cboKlasse->itemText(index)) +
        QStringLiteral("$")));
}

void frmUmzugPruefen::cmdBericht_Click()
{
    const QString file = m_dialogs.chooseFile(this, QStringLiteral("Bericht speichern"),
                                              QStringLiteral("CSV-Dateien (*.csv)"), true);
    if (file.isEmpty())
        return;
    // A name typed without an extension would give a file that no
    // spreadsheet program offers to open.
    const QString report =
        QFileInfo(file).suffix().isEmpty() ? file + QStringLiteral(".csv") : file;
    try {
        m_fileSystem.WriteFile(report.toStdString(), CheckReport(m_results).csv());
    } catch (const EngineError& error) {
        message(QString::fromStdString(error.what()), QMessageBox::Critical);
    }
}

void frmUmzugPruefen::closeEvent(QCloseEvent* event)
{
    cancelCheck();
    QDialog::closeEvent(event);
}

void frmUmzugPruefen::reject()
{
    cancelCheck();
    QDialog::reject();
}

void frmUmzugPruefen::message(const QString& text, int icon)
{
    m_dialogs.message(this, ApplicationTitle, text, static_cast<QMessageBox::Icon>(icon),
                      QMessageBox::Ok);
}
