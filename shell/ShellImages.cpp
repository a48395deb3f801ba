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

// The resource of the image stored under the key, without its ending; the
// empty text for any other key.
QString resourceName(const QString& key)
{
    if (key == u"New")
        return QStringLiteral(":/kelvane/toolbar-new");
    if (key == u"Cut")
        return QStringLiteral(":/kelvane/toolbar-cut");
    if (key == u"Copy")
        return QStringLiteral(":/kelvane/toolbar-copy");
    if (key == u"Paste")
        return QStringLiteral(":/kelvane/toolbar-paste");
    return {};
}

} // namespace

QPixmap ShellImages::toolbarImage(const QString& key)
{
    const QString name = resourceName(key);
    return name.isEmpty() ? QPixmap() : loadTransparent(name + QStringLiteral(".xpm"));
}

QIcon ShellImages::toolbarIcon(const QString& key)
{
    const QString name = resourceName(key);
    QIcon icon;
    if (!name.isEmpty()) {
        icon.addPixmap(loadTransparent(name + QStringLiteral(".xpm")));
        icon.addPixmap(loadTransparent(name + QStringLiteral("-32.xpm")));
    }
    return icon;
}

QPixmap ShellImages::programPixmap(int size)
{
    if (size <= 16)
        return loadTransparent(QStringLiteral(":/kelvane/kelvane-16.xpm"));
    if (size <= 32)
        return loadTransparent(QStringLiteral(":/kelvane/kelvane-32.xpm"));
    return loadTransparent(QStringLiteral(":/kelvane/kelvane-64.xpm"));
}

QIcon ShellImages::programIcon()
{
    QIcon icon;
    for (const int size : {64, 32, 16})
        icon.addPixmap(programPixmap(size));
    return icon;
}
