#include "CheckClassLook.h"

#include <QPainter>
#include <QPixmap>

QString CheckClassLook::name(CheckClass checkClass)
{
    const std::string_view text = checkClassName(checkClass);
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QColor CheckClassLook::colour(CheckClass checkClass)
{
    switch (checkClass) {
    case CheckClass::Ok:
        break;
    case CheckClass::NurSeite:
        return QColor(0xE0, 0xA0, 0x00); // works, but not as it should
    case CheckClass::FalschesZiel:
    case CheckClass::ZielFehlt:
    case CheckClass::AltFehlt:
        return QColor(0xD0, 0x20, 0x20); // the visitor is lost
    case CheckClass::Schleife:
        return QColor(0x90, 0x30, 0xC0);
    case CheckClass::Fehler:
        return QColor(0x60, 0x60, 0x60); // nothing known
    }
    return {};
}

QIcon CheckClassLook::icon(CheckClass checkClass)
{
    const QColor fill = colour(checkClass);
    if (!fill.isValid())
        return {};
    QIcon icon;
    for (const int size : {16, 32}) {
        QPixmap mark(size, size);
        mark.fill(Qt::transparent);
        QPainter painter(&mark);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(QPen(fill.darker(140), size / 16.0));
        painter.setBrush(fill);
        painter.drawEllipse(QRectF(size * 0.2, size * 0.2, size * 0.6, size * 0.6));
        painter.end();
        icon.addPixmap(mark);
    }
    return icon;
}

QString CheckClassLook::explanation(CheckClass checkClass)
{
    switch (checkClass) {
    case CheckClass::Ok:
        return QStringLiteral("ok: die neue Adresse mit Status 200 erreicht, über die "
                              "Weiterleitungen des Servers");
    case CheckClass::NurSeite:
        return QStringLiteral("nur-seite: die neue Adresse erreicht, aber nur über die "
                              "Ersatzseite; der Server beachtet die Regeln nicht");
    case CheckClass::FalschesZiel:
        return QStringLiteral("falsches-ziel: woanders angekommen als an der neuen Adresse");
    case CheckClass::ZielFehlt:
        return QStringLiteral("ziel-fehlt: ein Ziel antwortete mit 4xx oder 5xx");
    case CheckClass::AltFehlt:
        return QStringLiteral("alt-fehlt: die alte Adresse antwortete mit 404 oder 410; die "
                              "Seite wurde nicht hochgeladen");
    case CheckClass::Schleife:
        return QStringLiteral("schleife: eine Schleife oder mehr als 10 Schritte");
    case CheckClass::Fehler:
        return QStringLiteral("fehler: keine Verbindung oder Zeitüberschreitung; der Grund "
                              "steht unter Status");
    }
    return {};
}
