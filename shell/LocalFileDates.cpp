#include "LocalFileDates.h"

#include <QFileSystemModel>
#include <QLocale>

namespace {

// The columns of QFileSystemModel.
constexpr int SizeColumn = 1;
constexpr int DateColumn = 3;

} // namespace

QVariant LocalFileDates::data(const QModelIndex& index, int role) const
{
    const auto* files = qobject_cast<const QFileSystemModel*>(sourceModel());
    if (role != Qt::DisplayRole || !files || !index.isValid())
        return QIdentityProxyModel::data(index, role);
    const QModelIndex source = mapToSource(index);
    switch (index.column()) {
    case DateColumn:
        return QLocale().toString(files->lastModified(source), QLocale::ShortFormat);
    case SizeColumn:
        if (!files->isDir(source))
            return QLocale().formattedDataSize(files->size(source));
        break;
    default:
        break;
    }
    return QIdentityProxyModel::data(index, role);
}
