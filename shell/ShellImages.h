#pragma once

#include <QIcon>
#include <QPixmap>
#include <QString>

// The program's own pictures: the four toolbar images and the program icon.
// They are drawn on light grey (C0C0C0), which is made transparent here.
class ShellImages
{
public:
    // The toolbar image stored under "New", "Cut", "Copy" or "Paste"; a null
    // pixmap for any other key.
    static QPixmap toolbarImage(const QString& key);
    // The same image with its twice as fine drawing for screens that scale
    // by two; a null icon for any other key.
    static QIcon toolbarIcon(const QString& key);
    // The icon of both windows and the about box, in 64, 32 and 16 pixels.
    static QIcon programIcon();
    static QPixmap programPixmap(int size);

    static QColor transparentColour() { return QColor(0xC0, 0xC0, 0xC0); }
};
