#include "GeometryDump.h"

#include <QSaveFile>
#include <QTextStream>
#include <QWidget>

namespace {

void writeLine(QTextStream& out, const QWidget& widget)
{
    const QPoint topLeft = widget.mapToGlobal(QPoint(0, 0));
    const QWidget* container = widget.parentWidget();
    out << widget.objectName() << ' '
        << (container && !container->objectName().isEmpty() ? container->objectName()
                                                            : QStringLiteral("-"))
        << ' ' << topLeft.x() << ' ' << topLeft.y() << ' ' << widget.width() << ' '
        << widget.height() << '\n';
}

} // namespace

void GeometryDump::writeIfAsked(const QWidget& window)
{
    const QString path = qEnvironmentVariable(Variable);
    if (path.isEmpty())
        return;
    // Whole or not at all: the test waits for the file to appear.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Text))
        return;
    QTextStream out(&file);
    writeLine(out, window);
    for (const QWidget* control : window.findChildren<QWidget*>()) {
        if (!control->objectName().isEmpty() && control->isVisible())
            writeLine(out, *control);
    }
    out.flush();
    file.commit();
}
