#pragma once

#include <QString>

// The clipboard as the edit commands use it; tests put a fake in its place.
class Clipboard
{
public:
    virtual ~Clipboard() = default;

    // The empty text when the clipboard holds no text.
    virtual QString text() const = 0;
    virtual void setText(const QString& text) = 0;
    virtual void clear() = 0;
};
