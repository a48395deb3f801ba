#pragma once

#include <QStyledItemDelegate>

// Edits a suggested address in an editable list of the next best
// candidates, which the model keeps with the address (CandidatesRole).
class CandidateDelegate : public QStyledItemDelegate
{
    Q_OBJECT

public:
    static constexpr int CandidatesRole = Qt::UserRole + 1;

    using QStyledItemDelegate::QStyledItemDelegate;

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model,
                      const QModelIndex& index) const override;
};
