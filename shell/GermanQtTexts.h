#pragma once

#include <QLocale>
#include <QTranslator>

// Qt's own texts in German: the standard buttons of message boxes ("Ja",
// "Nein"), the folder dialog, the text fields' context menus and the key
// names of shortcuts ("Strg+N"). The program speaks German whatever the
// system's locale, so it loads Qt's German translation itself. The texts are
// German for as long as the object lives.
class GermanQtTexts
{
public:
    GermanQtTexts();
    ~GermanQtTexts();
    GermanQtTexts(const GermanQtTexts&) = delete;
    GermanQtTexts& operator=(const GermanQtTexts&) = delete;

    // False when the translation is not installed; Qt's texts then stay
    // English, and everything else works as before.
    bool isLoaded() const { return m_loaded; }

private:
    QTranslator m_translator;
    QLocale m_previousLocale;
    bool m_loaded = false;
};
