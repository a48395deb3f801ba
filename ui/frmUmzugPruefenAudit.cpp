// What the check finds beside the class, as search engines see a move: the
// hops to the target and the notes, with a filter by note.
#include "frmUmzugPruefen.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QRegularExpression>
#include <QSortFilterProxyModel>
#include <QStandardItemModel>

void frmUmzugPruefen::createNoteFilter(QHBoxLayout& row)
{
    cboHinweis = new QComboBox(this);
    cboHinweis->setObjectName(QStringLiteral("cboHinweis"));
    cboHinweis->addItem(QStringLiteral("alle Adressen"));
    for (const CheckNote note : AllCheckNotes) {
        const std::string_view name = checkNoteName(note);
        cboHinweis->addItem(QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size())));
    }
    auto* label = new QLabel(QStringLiteral("&Hinweis:"), this);
    label->setBuddy(cboHinweis);
    row.addWidget(label);
    row.addWidget(cboHinweis);
    connect(cboHinweis, &QComboBox::currentIndexChanged, this, &frmUmzugPruefen::cboHinweis_Click);
}

void frmUmzugPruefen::fillAuditColumns(int row, const CheckResult& result)
{
    // Numbers sort as numbers.
    m_model->item(row, HopsColumn)->setData(result.Hops, Qt::DisplayRole);
    m_model->item(row, NotesColumn)->setText(QString::fromStdString(result.notesText()));
}

void frmUmzugPruefen::cboHinweis_Click(int index)
{
    if (index <= 0) {
        m_noteFilter->setFilterRegularExpression(QString());
        return;
    }
    m_noteFilter->setFilterRegularExpression(QRegularExpression(
        QStringLiteral("(^|;)") + QRegularExpression::escape(cboHinweis->itemText(index)) +
        QStringLiteral("(;|$)")));
}
