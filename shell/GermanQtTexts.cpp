#include "GermanQtTexts.h"

#include <QCoreApplication>
#include <QLibraryInfo>

GermanQtTexts::GermanQtTexts()
{
    const QLocale german(QLocale::German, QLocale::Germany);
    // qtbase_de.qm holds the texts of Qt's core, its widgets and dialogs.
    m_loaded = m_translator.load(german, QStringLiteral("qtbase"), QStringLiteral("_"),
                                 QLibraryInfo::path(QLibraryInfo::TranslationsPath));
    if (m_loaded)
        QCoreApplication::installTranslator(&m_translator);
    // Widgets take their locale from here: the folder dialog's dates and
    // sizes, the number fields.
    QLocale::setDefault(german);
}

GermanQtTexts::~GermanQtTexts()
{
    if (m_loaded)
        QCoreApplication::removeTranslator(&m_translator);
    QLocale::setDefault(m_previousLocale);
}
