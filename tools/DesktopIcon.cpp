// Turns one of the program's icon drawings into the PNG the desktop shows, with
// the same background made transparent as in the program's own windows, so the
// launcher and the title bar show one picture.
//
// Usage: kelvane_desktop_icon DRAWING.xpm ICON.png

#include "ShellImages.h"

#include <QImage>
#include <cstdio>

int main(int argc, char* argv[])
{
    if (argc != 3) {
        std::fputs("Aufruf: kelvane_desktop_icon ZEICHNUNG.xpm SYMBOL.png\n", stderr);
        return 2;
    }
    QImage image(QString::fromLocal8Bit(argv[1]));
    if (image.isNull()) {
        std::fprintf(stderr, "Die Zeichnung %s lässt sich nicht lesen.\n", argv[1]);
        return 1;
    }
    image = image.convertToFormat(QImage::Format_ARGB32);
    const QRgb background = ShellImages::transparentColour().rgb();
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixel(x, y) == background)
                image.setPixel(x, y, qRgba(0, 0, 0, 0));
        }
    }
    if (!image.save(QString::fromLocal8Bit(argv[2]), "PNG")) {
        std::fprintf(stderr, "Das Symbol %s lässt sich nicht schreiben.\n", argv[2]);
        return 1;
    }
    return 0;
}
