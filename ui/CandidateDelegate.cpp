#include "CandidateDelegate.h"

#include <QComboBox>

QWidget* CandidateDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem&,
                                         const QModelIndex& index) const
{
    auto* editor = new QComboBox(parent);
    editor->setObjectName(QStringLiteral("cboKandidat"));
    editor->setEditable(true);
    editor->setInsertPolicy(QComboBox::NoInsert);
    editor->addItems(index.data(CandidatesRole).toStringList());
    return editor;
}

void CandidateDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const
{
    static_cast<QComboBox*>(editor)->setCurrentText(index.data(Qt::EditRole).toString());
}

void CandidateDelegate::setModelData(QWidget* editor, QAbstractItemModel* model,
                                     const QModelIndex& index) const
{
    model->setData(index, static_cast<QComboBox*>(editor)->currentText().trimmed(), Qt::EditRole);
}
