#include "FolderDropFilter.h"

#include <QDir>
#include <QDropEvent>
#include <QFileInfo>
#include <QLineEdit>
#include <QMimeData>
#include <QUrl>

FolderDropFilter::FolderDropFilter(QLineEdit& field) : QObject(&field), m_field(field)
{
    m_field.setAcceptDrops(true);
    m_field.installEventFilter(this);
}

QString FolderDropFilter::droppedFolder(const QMimeData* data)
{
    if (data == nullptr || !data->hasUrls() || data->urls().size() != 1)
        return {};
    const QUrl url = data->urls().constFirst();
    if (!url.isLocalFile())
        return {};
    const QFileInfo folder(url.toLocalFile());
    if (!folder.isDir())
        return {};
    return QDir::toNativeSeparators(folder.absoluteFilePath());
}

bool FolderDropFilter::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != &m_field)
        return false;
    switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove: {
        auto* drag = static_cast<QDragMoveEvent*>(event);
        if (!drag->mimeData()->hasUrls())
            return false; // plain text is the field's own business
        if (droppedFolder(drag->mimeData()).isEmpty())
            drag->ignore();
        else
            drag->acceptProposedAction();
        return true;
    }
    case QEvent::Drop: {
        auto* drop = static_cast<QDropEvent*>(event);
        if (!drop->mimeData()->hasUrls())
            return false;
        const QString folder = droppedFolder(drop->mimeData());
        if (folder.isEmpty()) {
            drop->ignore();
        } else {
            m_field.setText(folder);
            drop->acceptProposedAction();
        }
        return true;
    }
    default:
        return false;
    }
}
