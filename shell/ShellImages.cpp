#include "ShellImages.h"

#include <QBitmap>
#include <QImage>

// Outside any namespace, as Q_INIT_RESOURCE requires.
static void initialiseResources()
{
    // The images live in a static library; without this reference the linker
    // would drop them from the program.
    Q_INIT_RESOURCE(kelvane);
}

namespace {

QPixmap loadTransparent(const QString& resource)
{
    initialiseResources();
    QPixmap pixmap(resource);
    if (!pixmap.isNull())
        pixmap.setMask(pixmap.createMaskFromColor(ShellImages::transparentColour()));
    return pixmap;
}

} // namespace

QPixmap ShellImages::toolbarImage(const QString& key)
{
    if (key == u"New")
        return loadTransparent(QStringLiteral(":/kelvane/toolbar-new.xpm"));
    if (key == u"Cut")
        return loadTransparent(QStringLiteral(":/kelvane/toolbar-cut.xpm"));
    if (key == u"Copy")
        return loadTransparent(QStringLiteral(":/kelvane/toolbar-copy.xpm"));
    if (key == u"Paste")
        return loadTransparent(QStringLiteral(":/kelvane/toolbar-paste.xpm"));
    return {};
}

QPixmap ShellImages::programPixmap(int size)
{
    return loadTransparent(size <= 16 ? QStringLiteral(":/kelvane/kelvane-16.xpm")
                                      : QStringLiteral(":/kelvane/kelvane-32.xpm"));
}

QIcon ShellImages::programIcon()
{
    QIcon icon;
    icon.addPixmap(programPixmap(32));
    icon.addPixmap(programPixmap(16));
    return icon;
}
