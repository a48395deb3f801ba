#pragma once

#include "CheckResult.h"

#include <QColor>
#include <QIcon>
#include <QString>

// How the move check's classes look in the window: the name, a coloured mark
// for every class that needs the user's attention, and what the class means.
class CheckClassLook
{
public:
    static QString name(CheckClass checkClass);
    // No mark for ok.
    static QIcon icon(CheckClass checkClass);
    static QColor colour(CheckClass checkClass);
    static QString explanation(CheckClass checkClass);
};
