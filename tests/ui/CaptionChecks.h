#pragma once

#include "DesignFont.h"
#include "DesignFrame.h"

#include <QAbstractButton>
#include <QLabel>
#include <QMainWindow>
#include <QMenuBar>
#include <QPushButton>
#include <gtest/gtest.h>

// Every caption of the window's client area and menu bar is in the one
// design font and shown whole in its control's designed room.
inline void expectCaptionsWholeInDesignFont(QMainWindow& window)
{
    const QFont design = DesignFont::font();
    QList<QWidget*> captioned{window.menuBar()};
    for (QWidget* widget : window.centralWidget()->findChildren<QWidget*>()) {
        if (widget->isVisibleTo(&window) &&
            (qobject_cast<QLabel*>(widget) || qobject_cast<QAbstractButton*>(widget) ||
             qobject_cast<DesignFrame*>(widget)))
            captioned.append(widget);
    }
    for (const QWidget* widget : captioned) {
        SCOPED_TRACE(widget->objectName().toStdString());
        EXPECT_EQ(widget->font().family(), design.family());
        EXPECT_EQ(widget->font().pointSizeF(), DesignFont::PointSize);
        const auto* label = qobject_cast<const QLabel*>(widget);
        if (const auto* frame = qobject_cast<const DesignFrame*>(widget)) {
            EXPECT_LT(frame->fontMetrics().horizontalAdvance(frame->title()), frame->width() / 2);
        } else if (label && label->wordWrap()) {
            EXPECT_LE(label->heightForWidth(label->width()), label->height());
        } else if (const auto* button = qobject_cast<const QPushButton*>(widget)) {
            // A button's size hint adds the style's smallest button width.
            EXPECT_LE(button->fontMetrics().horizontalAdvance(button->text()) + 6, button->width());
        } else if (widget != window.menuBar()) {
            EXPECT_LE(widget->sizeHint().width(), widget->width());
        }
    }
}
