#include "ReadableUrl.h"

#include <QByteArray>
#include <QUrl>

QString ReadableUrl::of(const std::string& url)
{
    const QUrl parsed = QUrl::fromEncoded(QByteArray::fromStdString(url), QUrl::StrictMode);
    return parsed.isValid() ? parsed.toDisplayString() : QString::fromStdString(url);
}

QString ReadableUrl::below(const std::string& url, const std::string& site)
{
    const QString whole = of(url);
    QString prefix = of(site);
    if (!prefix.endsWith(u'/'))
        prefix += u'/';
    return whole.startsWith(prefix) && whole.size() > prefix.size() ? whole.mid(prefix.size())
                                                                    : whole;
}
