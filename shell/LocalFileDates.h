#pragma once

#include <QIdentityProxyModel>

// Qt's file dialog writes dates and sizes in the system's locale, whatever
// locale the program set: "7 Dec" inside a German dialog. Put between the
// dialog and its file-system model, this writes them in the program's
// locale ("07.12.26 22:54", "1,5 KB").
class LocalFileDates final : public QIdentityProxyModel
{
    Q_OBJECT

public:
    using QIdentityProxyModel::QIdentityProxyModel;

    QVariant data(const QModelIndex& index, int role) const override;
};
