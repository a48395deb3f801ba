#pragma once

#include <QSettings>

// Empties the program's settings store, which the test main has moved to a
// temporary folder, so that each test starts as on a first start.
inline void clearSettingsStore()
{
    QSettings(QStringLiteral("Kelvane"), QStringLiteral("Kelvane")).clear();
}
