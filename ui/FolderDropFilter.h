#pragma once

#include <QObject>

class QLineEdit;
class QMimeData;

// Lets a folder dragged from a file manager be dropped onto a text field: the
// field then holds that folder's path in native form. Other drops of files
// are refused, so the field never receives a file address as text.
class FolderDropFilter : public QObject
{
    Q_OBJECT

public:
    // Installs itself on the field and lives as long as the field.
    explicit FolderDropFilter(QLineEdit& field);

    // The dropped folder's native path, or the empty text when the data
    // does not name exactly one local folder.
    static QString droppedFolder(const QMimeData* data);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLineEdit& m_field;
};
